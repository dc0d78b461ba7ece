#pragma once
#include <SDL.h>

#include <memory>

#include "Gfx/RenderTarget.h"
#include "Platform/IDrawingSurface.h"
#include "Platform/SdlFramePresenter.h"

namespace ZEL {

// The windowed player's surface: a target of the window's pixel size that follows every
// resize and presents at the end of each draw.
class SdlWindowSurface : public IDrawingSurface {
  public:
    static std::unique_ptr<SdlWindowSurface> Create(SDL_Window* window, float dpiX, float dpiY);
    SdlWindowSurface(std::unique_ptr<SdlFramePresenter> presenter,
                     std::shared_ptr<Gfx::RenderTarget> target);

    Gfx::RenderTarget* GetRenderTarget() override { return m_Target.get(); }
    void BeginDraw() override { m_Target->BeginDraw(); }
    void Clear(const Gfx::ColorF& color) override { m_Target->Clear(color); }
    Gfx::Result EndDraw() override;
    void Present() override {}
    bool FollowsWindowSize() const override { return true; }
    Gfx::Result Resize(uint32_t width, uint32_t height) override;

  private:
    std::unique_ptr<SdlFramePresenter> m_Presenter;
    std::shared_ptr<Gfx::RenderTarget> m_Target;
};

}  // namespace ZEL
