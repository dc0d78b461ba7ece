#pragma once
#include <SDL.h>

#include <memory>

#include "Gfx/RenderTarget.h"
#include "Platform/IDrawingSurface.h"
#include "Platform/SdlFramePresenter.h"

namespace ZEL {

// The full-screen player's surface: a fixed 800 x 600 pixel target at the desktop DPI,
// scaled onto the desktop and presented explicitly after each frame.
class SdlFullScreenSurface : public IDrawingSurface {
  public:
    static std::unique_ptr<SdlFullScreenSurface> Create(SDL_Window* window, float dpiX, float dpiY);
    SdlFullScreenSurface(std::unique_ptr<SdlFramePresenter> presenter,
                         std::shared_ptr<Gfx::RenderTarget> target);

    Gfx::RenderTarget* GetRenderTarget() override { return m_Target.get(); }
    void BeginDraw() override { m_Target->BeginDraw(); }
    void Clear(const Gfx::ColorF& color) override { m_Target->Clear(color); }
    Gfx::Result EndDraw() override { return m_Target->EndDraw(); }
    void Present() override;
    bool FollowsWindowSize() const override { return false; }
    Gfx::Result Resize(uint32_t, uint32_t) override { return Gfx::kOk; }

  private:
    std::unique_ptr<SdlFramePresenter> m_Presenter;
    std::shared_ptr<Gfx::RenderTarget> m_Target;
};

}  // namespace ZEL
