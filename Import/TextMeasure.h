#pragma once
#include <string>

namespace Import {

// Where the player puts a one-line text that it centres in a box at (0, 0) of
// boxWidth x boxHeight: the left end of its glyph runs, their baseline and their advance.
struct TextPlacement {
    double left = 0, baseline = 0, advance = 0;
};

// Lays the text out with the drawing layer the player uses (same fonts, same shaping).
// False when it cannot be laid out.
bool MeasureText(const std::string& utf8, const std::string& family, double size, double boxWidth,
                 double boxHeight, TextPlacement* out);

}  // namespace Import
