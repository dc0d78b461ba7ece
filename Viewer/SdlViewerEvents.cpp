#include "Viewer/SdlViewerEvents.h"

namespace ZEL {

namespace {
int32_t ToPixels(Sint32 points, float pixelsPerPoint) {
    return static_cast<int32_t>(static_cast<float>(points) * pixelsPerPoint);
}
}  // namespace

bool SdlViewerEvents::Translate(const SDL_Event& event, float pixelsPerPoint, ViewerEvent* out) {
    switch (event.type) {
        case SDL_QUIT:
            *out = ViewerEvent::Quit();
            return true;
        case SDL_KEYDOWN:
            return TranslateKey(event.key, out);
        case SDL_MOUSEBUTTONUP:
            if (event.button.button != SDL_BUTTON_LEFT) {
                return false;
            }
            *out = ViewerEvent::ClickAt(ToPixels(event.button.x, pixelsPerPoint),
                                        ToPixels(event.button.y, pixelsPerPoint));
            return true;
        case SDL_MOUSEMOTION:
            *out = ViewerEvent::PointerAt(ToPixels(event.motion.x, pixelsPerPoint),
                                          ToPixels(event.motion.y, pixelsPerPoint));
            return true;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                *out = ViewerEvent::Quit();
                return true;
            }
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
                *out = ViewerEvent::Resize();
                return true;
            }
            return false;
        default:
            return false;
    }
}

bool SdlViewerEvents::TranslateKey(const SDL_KeyboardEvent& key, ViewerEvent* out) {
    const ViewerKey which = KeyOf(key.keysym.sym);
    // Held arrows and frame steps repeat; a held toggle must not flicker.
    const bool repeats = which == ViewerKey::Right || which == ViewerKey::Left ||
                         which == ViewerKey::Period || which == ViewerKey::Comma;
    if (which == ViewerKey::Other || (key.repeat != 0 && !repeats)) {
        return false;
    }
    *out = ViewerEvent::KeyDown(which, (key.keysym.mod & KMOD_SHIFT) != 0);
    return true;
}

ViewerKey SdlViewerEvents::KeyOf(SDL_Keycode code) {
    switch (code) {
        case SDLK_ESCAPE:
            return ViewerKey::Escape;
        case SDLK_SPACE:
            return ViewerKey::Space;
        case SDLK_RIGHT:
            return ViewerKey::Right;
        case SDLK_LEFT:
            return ViewerKey::Left;
        case SDLK_PERIOD:
            return ViewerKey::Period;
        case SDLK_COMMA:
            return ViewerKey::Comma;
        case SDLK_HOME:
            return ViewerKey::Home;
        case SDLK_F1:
            return ViewerKey::F1;
        case SDLK_F2:
            return ViewerKey::F2;
        default:
            return ViewerKey::Other;
    }
}

}  // namespace ZEL
