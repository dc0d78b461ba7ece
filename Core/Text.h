#pragma once
#include <string>

#include "Core/GeometryBase.h"
#include "Core/ValueD.h"

namespace ZEL {

// A string laid out centred in the box (x, y, w, h) and turned into outline geometry.
class Text : public GeometryBase {
  public:
    Text(std::string text, std::string font, ValueD size, ValueD x, ValueD y, ValueD w, ValueD h)
        : m_Text(std::move(text)),
          m_Font(std::move(font)),
          m_Size(size),
          m_X(x),
          m_Y(y),
          m_W(w),
          m_H(h) {}

  protected:
    // Empty when the layout draws no glyph run (an empty text); built again at the next use.
    std::shared_ptr<Gfx::Geometry> CreateResource() override;

  private:
    std::string m_Text;  // document bytes
    std::string m_Font;
    ValueD m_Size;  // em size in DIPs
    ValueD m_X, m_Y, m_W, m_H;
};

}  // namespace ZEL
