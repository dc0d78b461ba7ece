#include "Platform/SdlEventTranslator.h"

namespace ZEL {

Message SdlEventTranslator::Translate(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            return Message::Close();
        case SDL_KEYDOWN:
            // SDL's key codes keep ASCII for Escape (27) and the other printable keys.
            return Message::KeyDown(static_cast<uint32_t>(event.key.keysym.sym));
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT) {
                return Message::LeftButtonUp();
            }
            return Message{};
        case SDL_WINDOWEVENT:
            return TranslateWindowEvent(event.window);
        default:
            return Message{};
    }
}

Message SdlEventTranslator::TranslateWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            return Message::Close();
        case SDL_WINDOWEVENT_EXPOSED:
            return Message::Paint();
        case SDL_WINDOWEVENT_MINIMIZED:
            return SizeMessage(event.windowID, SizeKind::Minimized);
        case SDL_WINDOWEVENT_MAXIMIZED:
            return SizeMessage(event.windowID, SizeKind::Maximized);
        case SDL_WINDOWEVENT_RESTORED:
            return SizeMessage(event.windowID, SizeKind::Restored);
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            SDL_Window* window = SDL_GetWindowFromID(event.windowID);
            bool maximized = window && (SDL_GetWindowFlags(window) & SDL_WINDOW_MAXIMIZED);
            return SizeMessage(event.windowID,
                               maximized ? SizeKind::Maximized : SizeKind::Restored);
        }
        default:
            return Message{};
    }
}

Message SdlEventTranslator::SizeMessage(Uint32 windowId, SizeKind how) {
    int width = 0, height = 0;
    SDL_Window* window = SDL_GetWindowFromID(windowId);
    SDL_Renderer* renderer = window ? SDL_GetRenderer(window) : nullptr;
    // The renderer's output size is in pixels, which is what the render target counts.
    if (!renderer || SDL_GetRendererOutputSize(renderer, &width, &height) != 0) {
        if (window) {
            SDL_GetWindowSize(window, &width, &height);
        }
    }
    return Message::Size(static_cast<uint32_t>(width), static_cast<uint32_t>(height), how);
}

}  // namespace ZEL
