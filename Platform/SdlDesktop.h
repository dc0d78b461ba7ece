#pragma once
#include <string>

namespace ZEL {

// What SDL's video driver offers a program that needs a window: whether it shows
// anything, why not, and the desktop's logical DPI. For after SDL_Init of the video.
class SdlDesktop {
  public:
    // SDL falls back to drivers that show nothing when there is no display; a program on
    // one would run unseen. Only a user who asks for them by name gets them.
    static bool ShowsNothing(const char* driver);
    // Why there is no display, for "no display: ..."; who is "the player" or similar.
    static std::string NoDisplayReason(bool videoReady, const std::string& who);
    // The logical DPI desktops scale by (Xft.dpi under X11), not the monitor's physical
    // one that SDL_GetDisplayDPI reports; 96 when there is none.
    static float Dpi(bool videoReady);
};

}  // namespace ZEL
