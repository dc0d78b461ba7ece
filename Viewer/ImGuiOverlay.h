#pragma once
#include <SDL.h>

#include "Viewer/OverlayModel.h"

struct ImFont;

namespace ZEL {

// Dear ImGui on the window's SDL renderer: the error bar, the inspector and the hit-test
// geometries over the document's pixels. One per process (ImGui keeps one context).
class ImGuiOverlay {
  public:
    // scale: pixels per device-independent pixel, for the fonts and the layout.
    ImGuiOverlay(SDL_Window* window, SDL_Renderer* renderer, float scale);
    ~ImGuiOverlay();
    ImGuiOverlay(const ImGuiOverlay&) = delete;
    ImGuiOverlay& operator=(const ImGuiOverlay&) = delete;

    void ProcessEvent(const SDL_Event& event);
    // Whether the last frame's overlay is under the pointer or has a text field active.
    bool WantsMouse() const;
    bool WantsKeyboard() const;
    // Draws onto the renderer's output; the caller presents.
    void Draw(const OverlayModel& overlay);

  private:
    void LoadFonts();
    void ApplyStyle();

    float m_Scale;
    ImFont* m_Mono = nullptr;
};

}  // namespace ZEL
