#pragma once
#include <memory>

#include "Core/BrushBase.h"
#include "Core/Composites.h"
#include "Core/ExecutableBase.h"
#include "Core/GeometryBase.h"

namespace Gfx {
class RenderTarget;
}

namespace ZEL {

class Bitmap;

class DrawCommand : public ExecutableBase {
  public:
    Gfx::RenderTarget* m_RT = nullptr;
    std::shared_ptr<GeometryBase> m_Geometry;
    std::shared_ptr<BrushBase> m_Brush;
};

// Variable-bound geometries are filled directly with smooth edges; static ones go through
// a cached mask when they have one.
class FillCommand : public DrawCommand {
  public:
    void Execute() override;
};

class StrokeCommand : public DrawCommand {
  public:
    explicit StrokeCommand(ValueD width) : m_Width(width) {}
    void Execute() override;

  private:
    ValueD m_Width;  // DIPs
};

class DrawImageCommand : public DrawCommand {
  public:
    DrawImageCommand(std::shared_ptr<Bitmap> source, Rect destRect, ValueD opacity, Rect srcRect)
        : m_Source(std::move(source)),
          m_DestRect(destRect),
          m_Opacity(opacity),
          m_SrcRect(srcRect) {}
    void Execute() override;
    const std::shared_ptr<Bitmap>& Source() const { return m_Source; }

  private:
    std::shared_ptr<Bitmap> m_Source;
    Rect m_DestRect;
    ValueD m_Opacity;
    Rect m_SrcRect;  // pixels of the bitmap
};

}  // namespace ZEL
