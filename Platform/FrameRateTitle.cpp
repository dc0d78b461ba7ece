#include "Platform/FrameRateTitle.h"

#include <locale>
#include <sstream>

namespace ZEL {

std::string FrameRateTitle(int32_t frameMs) {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << "Ombrelune: Current Frame Rate (fps) = " << 1000.0 / static_cast<double>(frameMs);
    return text.str();
}

}  // namespace ZEL
