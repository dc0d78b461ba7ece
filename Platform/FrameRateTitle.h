#pragma once
#include <cstdint>
#include <string>

namespace ZEL {

// "Ombrelune: Current Frame Rate (fps) = " and 1000 / frameMs as a default-formatted
// stream writes it (62.5, 58.8235, inf for a 0 ms frame).
std::string FrameRateTitle(int32_t frameMs);

}  // namespace ZEL
