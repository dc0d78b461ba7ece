#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace ZEL {

// A 256-colour palette made from the frames of an animation (median cut over their
// colours at 5 bits a channel), and the nearest entry for any colour.
class Palette {
  public:
    Palette();
    // Counts the colours of an opaque BGRA frame (every fourth pixel of every second row).
    void Add(const uint8_t* bgra, uint32_t width, uint32_t height, uint32_t stride);
    void Build();
    // Entries as 0xAARRGGBB, opaque; valid after Build.
    const std::array<uint32_t, 256>& Colors() const { return m_Colors; }
    // Palette indices of row y, dithered.
    void Map(const uint8_t* bgra, uint32_t width, uint32_t y, uint8_t* out) const;

  private:
    std::vector<uint32_t> m_Histogram;  // per 15-bit colour
    std::array<uint32_t, 256> m_Colors{};
    std::vector<uint8_t> m_Nearest;  // per 15-bit colour
};

}  // namespace ZEL
