#include "Platform/NativePath.h"

#include <algorithm>

namespace ZEL {

std::string ToNativePath(const std::string& path) {
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

}  // namespace ZEL
