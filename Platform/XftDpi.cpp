#include "Platform/XftDpi.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace ZEL {

namespace {

constexpr float kMaxDpi = 4 * 96 * 8;  // far beyond any screen; larger is a broken entry

std::string Trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return "";
    }
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

float ParseXftDpi(const std::string& resources) {
    std::istringstream lines(resources);
    std::string line;
    float dpi = 0;
    while (std::getline(lines, line)) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos || Trim(line.substr(0, colon)) != "Xft.dpi") {
            continue;
        }
        const std::string value = Trim(line.substr(colon + 1));
        char* end = nullptr;
        const float parsed = std::strtof(value.c_str(), &end);
        const bool whole = !value.empty() && end && *end == '\0';
        // The last entry wins, as in the resource database.
        dpi = whole && std::isfinite(parsed) && parsed > 0 && parsed <= kMaxDpi ? parsed : 0;
    }
    return dpi;
}

}  // namespace ZEL
