#pragma once
#include <string>

#include "Gfx/Result.h"

namespace ZEL {

// Any code but 0 (positive ones too) raises "Direct2D returned error: <signed code>".
void CheckResult(Gfx::Result code);

// Document bytes to the UTF-8 the text and file services take: valid UTF-8 passes unchanged;
// anything else maps each byte to one code unit, sign-extended (0x80..0xFF -> U+FF80..U+FFFF).
std::string ToWide(const std::string& bytes);

// A document path as written ("data\vortel\x.scn") to the name this platform opens.
std::string ToNativePath(const std::string& path);

}  // namespace ZEL
