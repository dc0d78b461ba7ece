#pragma once
#include <pango/pangocairo.h>

#include <string>

#include "Gfx/Text.h"

namespace Gfx {

struct TextFormat::Native {
    Native() = default;
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;
    ~Native() {
        if (desc) {
            pango_font_description_free(desc);
        }
    }

    PangoFontDescription* desc = nullptr;  // at the layout size, see LayoutSizeUnits
    std::string locale;                    // empty: no language tag on the text
    double scale = 1;                      // DIPs per layout unit: em size / layout size
};

struct TextLayout::Native {
    Native() = default;
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;
    ~Native() {
        if (layout) {
            g_object_unref(layout);
        }
    }

    PangoLayout* layout = nullptr;
    double scale = 1;   // DIPs per layout unit, as in the format
    float offsetX = 0;  // DIPs; non-zero only for boxes wider than Pango measures
    float offsetY = 0;  // DIPs from the box top to the layout's top (paragraph alignment)
};

}  // namespace Gfx
