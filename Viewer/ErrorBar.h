#pragma once
#include <string>

namespace ZEL {

// The engine's error text, exactly, in a red bar across the top of the window.
class ErrorBar {
  public:
    // Returns the bar's height in pixels, for what is laid out below it.
    static float Draw(const std::string& text, float scale);
};

}  // namespace ZEL
