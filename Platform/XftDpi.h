#pragma once
#include <string>

namespace ZEL {

// The desktop's logical DPI as X11 desktops publish it: the "Xft.dpi" entry of the root
// window's resource string (what `xrdb -query` prints). 0 when the entry is missing or
// not a usable number.
float ParseXftDpi(const std::string& resources);

}  // namespace ZEL
