#pragma once
#include <cstdint>

#include "Gfx/Result.h"
#include "Gfx/Types.h"

namespace Gfx {
class RenderTarget;
}

namespace ZEL {

// The drawing surface of one player: the render target the documents draw on and the way
// its pixels reach the screen.
class IDrawingSurface {
  public:
    virtual ~IDrawingSurface() = default;

    // Lent to every document; owned by the surface.
    virtual Gfx::RenderTarget* GetRenderTarget() = 0;
    virtual void BeginDraw() = 0;
    virtual void Clear(const Gfx::ColorF& color) = 0;
    // A window-bound surface also presents here.
    virtual Gfx::Result EndDraw() = 0;
    // A surface that presents explicitly does it here; its result is not examined.
    virtual void Present() = 0;

    // True when the target follows the window's client size; false when it keeps its
    // size (the full-screen player scales its fixed frame instead).
    virtual bool FollowsWindowSize() const = 0;
    // New client size in pixels.
    virtual Gfx::Result Resize(uint32_t width, uint32_t height) = 0;
};

}  // namespace ZEL
