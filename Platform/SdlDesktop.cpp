#include "Platform/SdlDesktop.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include "Platform/XftDpi.h"

namespace ZEL {

namespace {

constexpr float kDefaultDpi = 96;

// ParseXftDpi of the resources of the X display SDL opens; 0 without one.
float ReadXftDpi() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return 0;
    }
    const char* resources = XResourceManagerString(display);
    const float dpi = resources ? ParseXftDpi(resources) : 0;
    XCloseDisplay(display);
    return dpi;
}

}  // namespace

bool SdlDesktop::ShowsNothing(const char* driver) {
    if (!driver ||
        (SDL_strcasecmp(driver, "offscreen") != 0 && SDL_strcasecmp(driver, "dummy") != 0)) {
        return false;
    }
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    return !asked || SDL_strcasecmp(asked, driver) != 0;
}

std::string SdlDesktop::NoDisplayReason(bool videoReady, const std::string& who) {
    if (!videoReady) {
        return std::string("no video driver could start (") + SDL_GetError() + ")";
    }
    return who + " needs a graphical session; SDL found none and would draw with its \"" +
           SDL_GetCurrentVideoDriver() + "\" driver, which shows nothing (is DISPLAY set?)";
}

float SdlDesktop::Dpi(bool videoReady) {
    const char* driver = videoReady ? SDL_GetCurrentVideoDriver() : nullptr;
    const float xft = driver && SDL_strcmp(driver, "x11") == 0 ? ReadXftDpi() : 0;
    return xft > 0 ? xft : kDefaultDpi;
}

}  // namespace ZEL
