#pragma once
#include <string>

namespace ZEL {

// The program's fixed paths are written with backslashes; files open with "/" here.
std::string ToNativePath(const std::string& path);

}  // namespace ZEL
