#include "Viewer/ErrorBar.h"

#include <imgui.h>

namespace ZEL {

namespace {
// Opaque, so the bar reads the same over any picture (and checks can find its colour).
const ImVec4 kBarColour(0.64f, 0.09f, 0.09f, 1.0f);
const ImVec4 kTextColour(1.0f, 0.96f, 0.94f, 1.0f);
}  // namespace

float ErrorBar::Draw(const std::string& text, float scale) {
    const ImVec2 display = ImGui::GetIO().DisplaySize;
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(ImVec2(display.x, 0));
    ImGui::PushStyleColor(ImGuiCol_WindowBg, kBarColour);
    ImGui::PushStyleColor(ImGuiCol_Text, kTextColour);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowRounding, 0);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(10 * scale, 7 * scale));
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                                   ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoNav |
                                   ImGuiWindowFlags_NoFocusOnAppearing |
                                   ImGuiWindowFlags_AlwaysAutoResize;
    float height = 0;
    if (ImGui::Begin("##error", nullptr, flags)) {
        ImGui::PushTextWrapPos(display.x - 10 * scale);
        ImGui::TextUnformatted(text.c_str());
        ImGui::PopTextWrapPos();
        height = ImGui::GetWindowHeight();
    }
    ImGui::End();
    ImGui::PopStyleVar(2);
    ImGui::PopStyleColor(2);
    return height;
}

}  // namespace ZEL
