#include "Platform/SdlOsLayer.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Platform/SdlDesktop.h"
#include "Platform/SdlErrorBox.h"
#include "Platform/SdlEventTranslator.h"
#include "Platform/SdlFullScreenSurface.h"
#include "Platform/SdlWindowSurface.h"

namespace ZEL {

SdlOsLayer::SdlOsLayer(PlayerKind kind) : m_Kind(kind) {
    // A close must reach the host as one close, not also as a quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    m_VideoReady = SDL_Init(SDL_INIT_VIDEO) == 0;
    m_NoDisplay = !m_VideoReady || SdlDesktop::ShowsNothing(SDL_GetCurrentVideoDriver());
}

SdlOsLayer::~SdlOsLayer() {
    if (m_Window) {
        SDL_DestroyWindow(m_Window);
    }
    SDL_Quit();
}

void SdlOsLayer::RegisterWindowClass(const std::string&, WindowProc proc) {
    m_Proc = std::move(proc);
}

void SdlOsLayer::GetDesktopDpi(float* dpiX, float* dpiY) {
    *dpiX = *dpiY = SdlDesktop::Dpi(m_VideoReady);
}

bool SdlOsLayer::CreateMainWindow(const std::string&, const std::string& title, uint32_t width,
                                  uint32_t height) {
    if (m_NoDisplay) {
        std::fprintf(stderr, "no display: %s\n",
                     SdlDesktop::NoDisplayReason(m_VideoReady, "the player").c_str());
        return false;
    }
    SDL_Rect place{static_cast<int>(SDL_WINDOWPOS_UNDEFINED),
                   static_cast<int>(SDL_WINDOWPOS_UNDEFINED), static_cast<int>(width),
                   static_cast<int>(height)};
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
    // As large as the display from the start: without a window manager nobody else
    // makes the window full-screen.
    if (m_Kind == PlayerKind::FullScreen && SDL_GetDisplayBounds(0, &place) == 0) {
        flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
    }
    m_Window = SDL_CreateWindow(title.c_str(), place.x, place.y, place.w, place.h, flags);
    if (!m_Window) {
        std::fprintf(stderr, "%s\n", SDL_GetError());
    }
    return m_Window != nullptr;
}

std::unique_ptr<IDrawingSurface> SdlOsLayer::CreateSurface(float dpiX, float dpiY) {
    if (m_Kind == PlayerKind::FullScreen) {
        return SdlFullScreenSurface::Create(m_Window, dpiX, dpiY);
    }
    return SdlWindowSurface::Create(m_Window, dpiX, dpiY);
}

void SdlOsLayer::ShowMainWindow() {
    SDL_ShowWindow(m_Window);
}

void SdlOsLayer::SetWindowTitle(const std::string& text) {
    SDL_SetWindowTitle(m_Window, text.c_str());
}

bool SdlOsLayer::PeekMessage(Message* message) {
    SDL_Event event;
    if (SDL_PollEvent(&event) == 0) {
        return false;
    }
    *message = SdlEventTranslator::Translate(event);
    return true;
}

void SdlOsLayer::DispatchMessage(const Message& message) {
    m_Proc(message);
}

void SdlOsLayer::DefWindowProc(const Message& message) {
    if (message.kind == MessageKind::Close && !m_Destroyed) {
        m_Destroyed = true;
        SDL_HideWindow(m_Window);
        DispatchMessage(Message::Destroy());
    }
}

uint32_t SdlOsLayer::GetTickCount() {
    return SDL_GetTicks();
}

void SdlOsLayer::ShowMessageBox(const std::string& caption, const std::string& text) {
    // Without a display the box cannot appear; the text must still get out.
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
    ShowErrorBox(caption, text, m_Window);
}

void SdlOsLayer::ExitProcess(int code) {
    // At once: no music stop, no teardown, no static destructors racing the audio thread.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(code);
}

}  // namespace ZEL
