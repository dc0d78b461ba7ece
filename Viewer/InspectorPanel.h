#pragma once
#include "Viewer/OverlayModel.h"

struct ImFont;

namespace ZEL {

// The inspector window down the right side: where the document is, the current animation
// of it and of each child, the frame times, the last click and every variable.
class InspectorPanel {
  public:
    // top: pixels taken at the top of the window (the error bar); mono: the font for
    // values, or null for the default one.
    static void Draw(const OverlayModel& overlay, float top, float scale, ImFont* mono);

  private:
    static void Header(const OverlayModel& overlay);
    static void Animations(const OverlayModel& overlay);
    static void Click(const ClickReport& click);
    static void Variables(const OverlayModel& overlay, ImFont* mono);
};

}  // namespace ZEL
