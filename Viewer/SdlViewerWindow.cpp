#include "Viewer/SdlViewerWindow.h"

#include <utility>

#include "Platform/SdlDesktop.h"
#include "Viewer/SdlViewerEvents.h"

namespace ZEL {

namespace {

constexpr float kDipsPerInch = 96;

// SDL's video, up for as long as a window may need it.
bool StartVideo(std::string* problem) {
    // A close must reach the viewer as one close, not also as a quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    const bool ready = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (ready && !SdlDesktop::ShowsNothing(SDL_GetCurrentVideoDriver())) {
        return true;
    }
    *problem = SdlDesktop::NoDisplayReason(ready, "the viewer");
    if (ready) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    return false;
}

}  // namespace

float SdlViewerWindow::DesktopDpi() {
    return SdlDesktop::Dpi(SDL_WasInit(SDL_INIT_VIDEO) != 0);
}

std::unique_ptr<SdlViewerWindow> SdlViewerWindow::Create(uint32_t widthDips, uint32_t heightDips,
                                                         float dpi, std::string* problem) {
    if (!StartVideo(problem)) {
        return nullptr;
    }
    if (dpi <= 0) {
        dpi = DesktopDpi();
    }
    const int width = static_cast<int>(static_cast<float>(widthDips) * dpi / kDipsPerInch);
    const int height = static_cast<int>(static_cast<float>(heightDips) * dpi / kDipsPerInch);
    SDL_Window* window =
        SDL_CreateWindow("zelview", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                         SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    auto presenter = window ? SdlFramePresenter::Create(window) : nullptr;
    uint32_t w = 0, h = 0;
    std::shared_ptr<Gfx::RenderTarget> target;
    if (!presenter || !presenter->GetOutputSize(&w, &h) || !presenter->SetFrameSize(w, h) ||
        Gfx::Failed(Gfx::RenderTarget::Create(w, h, dpi, &target))) {
        *problem = SDL_GetError();
        presenter.reset();
        if (window) {
            SDL_DestroyWindow(window);
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    target->SetDpi(dpi, dpi);
    target->SetAntialiasMode(Gfx::AntialiasMode::Aliased);
    return std::make_unique<SdlViewerWindow>(window, std::move(presenter), std::move(target),
                                             dpi / kDipsPerInch);
}

SdlViewerWindow::SdlViewerWindow(SDL_Window* window, std::unique_ptr<SdlFramePresenter> presenter,
                                 std::shared_ptr<Gfx::RenderTarget> target, float scale)
    : m_Window(window), m_Presenter(std::move(presenter)), m_Target(std::move(target)) {
    m_Overlay = std::make_unique<ImGuiOverlay>(m_Window, m_Presenter->Renderer(), scale);
}

SdlViewerWindow::~SdlViewerWindow() {
    // The overlay draws with the presenter's renderer, which lives on the window.
    m_Overlay.reset();
    m_Presenter.reset();
    SDL_DestroyWindow(m_Window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlViewerWindow::PollEvent(ViewerEvent* event) {
    SDL_Event raw;
    while (SDL_PollEvent(&raw) != 0) {
        m_Overlay->ProcessEvent(raw);
        const bool resized =
            raw.type == SDL_WINDOWEVENT && raw.window.event == SDL_WINDOWEVENT_SIZE_CHANGED;
        if (resized && FollowSize()) {
            *event = ViewerEvent::Resize();
            return true;
        }
        const bool mouse = raw.type == SDL_MOUSEBUTTONUP || raw.type == SDL_MOUSEMOTION;
        // What lands on the inspector or types into it is the inspector's.
        if ((mouse && m_Overlay->WantsMouse()) ||
            (raw.type == SDL_KEYDOWN && m_Overlay->WantsKeyboard())) {
            continue;
        }
        if (SdlViewerEvents::Translate(raw, PixelsPerPoint(), event)) {
            return true;
        }
    }
    return false;
}

bool SdlViewerWindow::FollowSize() {
    uint32_t width = 0, height = 0;
    if (!m_Presenter->GetOutputSize(&width, &height)) {
        return false;
    }
    const Gfx::SizeU now = m_Target->GetPixelSize();
    if (now.width == width && now.height == height) {
        return false;
    }
    return m_Target->Resize(width, height) == Gfx::kOk && m_Presenter->SetFrameSize(width, height);
}

float SdlViewerWindow::PixelsPerPoint() const {
    int points = 0;
    SDL_GetWindowSize(m_Window, &points, nullptr);
    return points > 0
               ? static_cast<float>(m_Target->GetPixelSize().width) / static_cast<float>(points)
               : 1.0f;
}

void SdlViewerWindow::SetTitle(const std::string& text) {
    SDL_SetWindowTitle(m_Window, text.c_str());
}

void SdlViewerWindow::Present(const OverlayModel& overlay) {
    m_Presenter->Draw(m_Target->GetPixels(), m_Target->GetStride());
    m_Overlay->Draw(overlay);
    m_Presenter->Present();
}

}  // namespace ZEL
