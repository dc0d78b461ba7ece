#include "Platform/SdlFullScreenSurface.h"

#include <utility>

namespace ZEL {

namespace {
constexpr uint32_t kFrameWidth = 800;
constexpr uint32_t kFrameHeight = 600;
}  // namespace

std::unique_ptr<SdlFullScreenSurface> SdlFullScreenSurface::Create(SDL_Window* window, float dpiX,
                                                                   float dpiY) {
    auto presenter = SdlFramePresenter::Create(window);
    if (!presenter || !presenter->SetLogicalSize(kFrameWidth, kFrameHeight) ||
        !presenter->SetFrameSize(kFrameWidth, kFrameHeight)) {
        return nullptr;
    }
    // Pixels stay 800 x 600; a higher DPI makes the document's space smaller on them.
    std::shared_ptr<Gfx::RenderTarget> target;
    if (Gfx::Failed(Gfx::RenderTarget::Create(kFrameWidth, kFrameHeight, dpiX, &target))) {
        return nullptr;
    }
    target->SetDpi(dpiX, dpiY);
    target->SetAntialiasMode(Gfx::AntialiasMode::Aliased);
    return std::make_unique<SdlFullScreenSurface>(std::move(presenter), std::move(target));
}

SdlFullScreenSurface::SdlFullScreenSurface(std::unique_ptr<SdlFramePresenter> presenter,
                                           std::shared_ptr<Gfx::RenderTarget> target)
    : m_Presenter(std::move(presenter)), m_Target(std::move(target)) {}

void SdlFullScreenSurface::Present() {
    m_Presenter->Show(m_Target->GetPixels(), m_Target->GetStride());
}

}  // namespace ZEL
