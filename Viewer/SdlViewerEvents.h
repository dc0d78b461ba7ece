#pragma once
#include <SDL.h>

#include "Viewer/ViewerEvent.h"

namespace ZEL {

// Maps SDL's input events onto the viewer's. Positions come in window points and leave in
// render target pixels (pixelsPerPoint: output size / window size).
class SdlViewerEvents {
  public:
    // False for events the viewer does not take (and for held-down toggles repeating).
    static bool Translate(const SDL_Event& event, float pixelsPerPoint, ViewerEvent* out);

  private:
    static bool TranslateKey(const SDL_KeyboardEvent& key, ViewerEvent* out);
    static ViewerKey KeyOf(SDL_Keycode code);
};

}  // namespace ZEL
