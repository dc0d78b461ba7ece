#include "Platform/SdlWindowSurface.h"

#include <utility>

namespace ZEL {

std::unique_ptr<SdlWindowSurface> SdlWindowSurface::Create(SDL_Window* window, float dpiX,
                                                           float dpiY) {
    auto presenter = SdlFramePresenter::Create(window);
    uint32_t width = 0, height = 0;
    if (!presenter || !presenter->GetOutputSize(&width, &height) ||
        !presenter->SetFrameSize(width, height)) {
        return nullptr;
    }
    std::shared_ptr<Gfx::RenderTarget> target;
    if (Gfx::Failed(Gfx::RenderTarget::Create(width, height, dpiX, &target))) {
        return nullptr;
    }
    target->SetDpi(dpiX, dpiY);
    target->SetAntialiasMode(Gfx::AntialiasMode::Aliased);
    return std::make_unique<SdlWindowSurface>(std::move(presenter), std::move(target));
}

SdlWindowSurface::SdlWindowSurface(std::unique_ptr<SdlFramePresenter> presenter,
                                   std::shared_ptr<Gfx::RenderTarget> target)
    : m_Presenter(std::move(presenter)), m_Target(std::move(target)) {}

Gfx::Result SdlWindowSurface::EndDraw() {
    Gfx::Result result = m_Target->EndDraw();
    if (result == Gfx::kOk) {
        m_Presenter->Show(m_Target->GetPixels(), m_Target->GetStride());
    }
    return result;
}

Gfx::Result SdlWindowSurface::Resize(uint32_t width, uint32_t height) {
    // A minimised window may report no area; the target keeps its last size until the
    // window has pixels again.
    if (width == 0 || height == 0) {
        return Gfx::kOk;
    }
    Gfx::Result result = m_Target->Resize(width, height);
    if (Gfx::Failed(result)) {
        return result;
    }
    return m_Presenter->SetFrameSize(width, height) ? Gfx::kOk : Gfx::kFail;
}

}  // namespace ZEL
