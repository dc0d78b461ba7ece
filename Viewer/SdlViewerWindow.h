#pragma once
#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

#include "Gfx/RenderTarget.h"
#include "Platform/SdlFramePresenter.h"
#include "Viewer/IViewerWindow.h"
#include "Viewer/ImGuiOverlay.h"

namespace ZEL {

// A resizable SDL window whose render target follows its pixel size, with the overlay
// drawn by Dear ImGui over each frame. Owns SDL's video for its lifetime.
class SdlViewerWindow : public IViewerWindow {
  public:
    // Null when there is no window to be had; *problem then says why.
    static std::unique_ptr<SdlViewerWindow> Create(uint32_t widthDips, uint32_t heightDips,
                                                   float dpi, std::string* problem);
    SdlViewerWindow(SDL_Window* window, std::unique_ptr<SdlFramePresenter> presenter,
                    std::shared_ptr<Gfx::RenderTarget> target, float scale);
    ~SdlViewerWindow() override;
    SdlViewerWindow(const SdlViewerWindow&) = delete;
    SdlViewerWindow& operator=(const SdlViewerWindow&) = delete;

    // The desktop's logical DPI; SDL's video must be up (Create brings it up).
    static float DesktopDpi();

    bool PollEvent(ViewerEvent* event) override;
    Gfx::RenderTarget& Target() override { return *m_Target; }
    void SetTitle(const std::string& text) override;
    void Present(const OverlayModel& overlay) override;

  private:
    // Follows the window's pixel size; false when it has none (minimised).
    bool FollowSize();
    float PixelsPerPoint() const;

    SDL_Window* m_Window;
    std::unique_ptr<SdlFramePresenter> m_Presenter;
    std::shared_ptr<Gfx::RenderTarget> m_Target;
    std::unique_ptr<ImGuiOverlay> m_Overlay;
};

}  // namespace ZEL
