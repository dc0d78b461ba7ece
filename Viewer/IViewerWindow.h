#pragma once
#include <string>

#include "Viewer/OverlayModel.h"
#include "Viewer/ViewerEvent.h"

namespace Gfx {
class RenderTarget;
}

namespace ZEL {

// The viewer's window: its events, the render target documents draw on (sized to the
// window), the title, and the screen.
class IViewerWindow {
  public:
    virtual ~IViewerWindow() = default;
    // Removes at most one pending event; never waits.
    virtual bool PollEvent(ViewerEvent* event) = 0;
    virtual Gfx::RenderTarget& Target() = 0;
    virtual void SetTitle(const std::string& text) = 0;
    // Shows the target's current pixels with the overlay over them.
    virtual void Present(const OverlayModel& overlay) = 0;
};

}  // namespace ZEL
