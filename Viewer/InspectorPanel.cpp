#include "Viewer/InspectorPanel.h"

#include <imgui.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Viewer/FrameGraph.h"

namespace ZEL {

namespace {

constexpr float kWidthDips = 350;
constexpr float kMarginDips = 8;
constexpr float kGraphDips = 90;
const ImVec4 kDim(0.65f, 0.68f, 0.75f, 1.0f);
const ImVec4 kHit(0.55f, 1.0f, 0.55f, 1.0f);

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void Section(const char* title) {
    ImGui::Spacing();
    ImGui::PushStyleColor(ImGuiCol_Text, kDim);
    ImGui::TextUnformatted(title);
    ImGui::PopStyleColor();
    ImGui::Separator();
}

}  // namespace

void InspectorPanel::Draw(const OverlayModel& overlay, float top, float scale, ImFont* mono) {
    const ImVec2 display = ImGui::GetIO().DisplaySize;
    const float margin = kMarginDips * scale;
    const float width = std::min(kWidthDips * scale, display.x * 0.5f);
    ImGui::SetNextWindowPos(ImVec2(display.x - width - margin, top + margin));
    ImGui::SetNextWindowSize(ImVec2(width, std::max(display.y - top - 2 * margin, 100.0f)));
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize |
                                   ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings;
    if (ImGui::Begin("Inspector   F1", nullptr, flags)) {
        Header(overlay);
        Animations(overlay);
        Section("Frame times, last 5 s");
        FrameGraph::Draw(overlay.frames, kGraphDips * scale, scale);
        Click(overlay.click);
        Variables(overlay, mono);
    }
    ImGui::End();
}

void InspectorPanel::Header(const OverlayModel& overlay) {
    ImGui::Text("%s", FileNameOf(overlay.fileName).c_str());
    ImGui::Text("%.3f s   %.0f fps   %s", overlay.documentSeconds, overlay.framesPerSecond,
                overlay.paused ? "paused" : "playing");
    if (!overlay.lastReload.empty()) {
        ImGui::PushStyleColor(ImGuiCol_Text, kDim);
        ImGui::TextWrapped("%s", overlay.lastReload.c_str());
        ImGui::PopStyleColor();
    }
}

void InspectorPanel::Animations(const OverlayModel& overlay) {
    Section("Animations");
    if (!ImGui::BeginTable("animations", 2, ImGuiTableFlags_SizingStretchProp)) {
        return;
    }
    for (const AnimationRow& row : overlay.animations) {
        ImGui::TableNextRow();
        ImGui::TableNextColumn();
        ImGui::TextUnformatted(row.document.empty() ? "document" : row.document.c_str());
        ImGui::TableNextColumn();
        ImGui::TextUnformatted(row.animation.c_str());
    }
    ImGui::EndTable();
}

void InspectorPanel::Click(const ClickReport& click) {
    Section("Hit test   F2 shows the geometries");
    if (!click.made) {
        ImGui::TextDisabled("left-click the picture");
        return;
    }
    ImGui::Text("at %d, %d:", click.x, click.y);
    ImGui::SameLine();
    ImGui::TextColored(click.hit ? kHit : kDim, "%s", click.hit ? "hit" : "no hit");
    std::string names;
    for (const std::string& name : click.shapes) {
        names += (names.empty() ? "" : ", ") + name;
    }
    if (!names.empty()) {
        ImGui::TextWrapped("%s", names.c_str());
    }
}

void InspectorPanel::Variables(const OverlayModel& overlay, ImFont* mono) {
    static ImGuiTextFilter filter;
    Section("Variables");
    ImGui::SetNextItemWidth(ImGui::GetContentRegionAvail().x);
    if (ImGui::InputTextWithHint("##filter", "filter, e.g. orbA/ or $beam", filter.InputBuf,
                                 sizeof filter.InputBuf)) {
        filter.Build();
    }
    std::vector<const VariableRow*> shown;
    for (const VariableRow& row : overlay.variables) {
        if (filter.PassFilter(row.name.c_str())) {
            shown.push_back(&row);
        }
    }
    const ImGuiTableFlags flags =
        ImGuiTableFlags_ScrollY | ImGuiTableFlags_RowBg | ImGuiTableFlags_SizingStretchProp;
    if (!ImGui::BeginTable("variables", 2, flags, ImVec2(0, ImGui::GetContentRegionAvail().y))) {
        return;
    }
    if (mono) {
        ImGui::PushFont(mono);
    }
    ImGuiListClipper clipper;
    clipper.Begin(static_cast<int>(shown.size()));
    while (clipper.Step()) {
        for (int i = clipper.DisplayStart; i < clipper.DisplayEnd; ++i) {
            ImGui::TableNextRow();
            ImGui::TableNextColumn();
            ImGui::TextUnformatted(shown[static_cast<size_t>(i)]->name.c_str());
            ImGui::TableNextColumn();
            ImGui::Text("%12.4f", static_cast<double>(shown[static_cast<size_t>(i)]->value));
        }
    }
    if (mono) {
        ImGui::PopFont();
    }
    ImGui::EndTable();
}

}  // namespace ZEL
