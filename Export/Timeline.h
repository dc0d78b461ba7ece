#pragma once
#include <cstdint>
#include <vector>

namespace ZEL {

// The document times of a player running at fps frames a second from `from` up to and
// including `to`, in milliseconds: from + round(k * 1000 / fps).
std::vector<uint32_t> FrameTimes(uint32_t from, uint32_t to, double fps);

}  // namespace ZEL
