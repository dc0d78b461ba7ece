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

    PangoFontDescription* desc = nullptr;  // absolute size: one Pango unit is 1/1024 DIP
    std::string locale;                    // empty: no language tag on the text
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
    float offsetY = 0;  // DIPs from the box top to the layout's top (paragraph alignment)
};

}  // namespace Gfx
