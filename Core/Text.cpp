#include "Core/Text.h"

#include <cmath>

#include "Core/CheckResult.h"
#include "Core/TextGeometryConverter.h"

namespace ZEL {

namespace {
constexpr float kMaxEmSize = 4096;  // DIPs; larger sizes only cost memory and time
}

std::shared_ptr<Gfx::Geometry> Text::CreateResource() {
    const std::string family = ToWide(m_Font);
    const float size = m_Size.Get();
    // A size that cannot be laid out gives no outline rather than a failed frame.
    if (!(size > 0 && size <= kMaxEmSize)) {
        return nullptr;
    }
    std::shared_ptr<Gfx::TextFormat> format;
    CheckResult(Gfx::TextFormat::Create(family, Gfx::kFontWeightNormal, Gfx::FontStyle::Normal,
                                        Gfx::kFontStretchNormal, size, "en-us", &format));
    format->SetTextAlignment(Gfx::TextAlignment::Center);
    format->SetParagraphAlignment(Gfx::ParagraphAlignment::Center);
    const std::string text = ToWide(m_Text);
    const float h = m_H.Get();
    const float w = m_W.Get();
    if (!(w >= 0 && std::isfinite(w)) || !(h >= 0 && std::isfinite(h))) {
        return nullptr;
    }
    std::shared_ptr<Gfx::TextLayout> layout;
    CheckResult(Gfx::TextLayout::Create(text, *format, w, h, &layout));
    TextGeometryConverter converter;
    const float y = m_Y.Get();
    const float x = m_X.Get();
    if (!std::isfinite(x) || !std::isfinite(y)) {
        return nullptr;
    }
    CheckResult(layout->Draw(nullptr, &converter, x, y));
    return converter.Outline();
}

}  // namespace ZEL
