#include "Viewer/ImGuiOverlay.h"

#include <imgui.h>
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>

#include <filesystem>

#include "Viewer/ErrorBar.h"
#include "Viewer/InspectorPanel.h"
#include "Viewer/ShapeLayer.h"

namespace ZEL {

namespace {

// From fonts-dejavu-core, which the set-up installs; ImGui's own font otherwise.
const char kSansFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char kMonoFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
constexpr float kSansPx = 15;  // at 96 DPI
constexpr float kMonoPx = 14;

}  // namespace

ImGuiOverlay::ImGuiOverlay(SDL_Window* window, SDL_Renderer* renderer, float scale)
    : m_Scale(scale) {
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    // No imgui.ini in the document's folder: the layout is ours, not remembered.
    ImGui::GetIO().IniFilename = nullptr;
    LoadFonts();
    ApplyStyle();
    ImGui_ImplSDL2_InitForSDLRenderer(window);
    ImGui_ImplSDLRenderer_Init(renderer);
}

ImGuiOverlay::~ImGuiOverlay() {
    ImGui_ImplSDLRenderer_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
}

void ImGuiOverlay::LoadFonts() {
    ImGuiIO& io = ImGui::GetIO();
    std::error_code error;
    if (std::filesystem::is_regular_file(kSansFont, error) &&
        std::filesystem::is_regular_file(kMonoFont, error)) {
        io.Fonts->AddFontFromFileTTF(kSansFont, kSansPx * m_Scale);
        m_Mono = io.Fonts->AddFontFromFileTTF(kMonoFont, kMonoPx * m_Scale);
    } else {
        io.Fonts->AddFontDefault();
    }
}

void ImGuiOverlay::ApplyStyle() {
    ImGui::StyleColorsDark();
    ImGuiStyle& style = ImGui::GetStyle();
    style.WindowRounding = 6;
    style.FrameRounding = 3;
    style.WindowBorderSize = 0;
    style.Colors[ImGuiCol_WindowBg] = ImVec4(0.08f, 0.09f, 0.12f, 0.88f);
    style.Colors[ImGuiCol_ChildBg] = ImVec4(0, 0, 0, 0.25f);
    style.Colors[ImGuiCol_TableRowBgAlt] = ImVec4(1, 1, 1, 0.04f);
    style.ScaleAllSizes(m_Scale);
}

void ImGuiOverlay::ProcessEvent(const SDL_Event& event) {
    ImGui_ImplSDL2_ProcessEvent(&event);
}

bool ImGuiOverlay::WantsMouse() const {
    return ImGui::GetIO().WantCaptureMouse;
}

bool ImGuiOverlay::WantsKeyboard() const {
    return ImGui::GetIO().WantTextInput;
}

void ImGuiOverlay::Draw(const OverlayModel& overlay) {
    ImGui_ImplSDLRenderer_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
    if (overlay.shapes) {
        ShapeLayer::Draw(overlay);
    }
    float top = 0;
    if (!overlay.error.empty()) {
        top = ErrorBar::Draw(overlay.error, m_Scale);
    }
    if (overlay.inspector) {
        InspectorPanel::Draw(overlay, top, m_Scale, m_Mono);
    }
    ImGui::Render();
    ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
}

}  // namespace ZEL
