#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ZEL {

// A 256-colour palette made from the frames of an animation, and the nearest entry for any
// colour. Colours that cover large areas (a background, a flat fill) keep entries of their
// own with their exact value and are never dithered; the other entries come from a median
// cut over the colours at 5 bits a channel.
class Palette {
  public:
    // Share of the counted pixels from which one colour keeps its exact value.
    static constexpr double kLargeArea = 0.01;
    static constexpr size_t kMaxExact = 32;  // entries

    Palette();
    // Counts the colours of an opaque BGRA frame (every fourth pixel of every second row).
    void Add(const uint8_t* bgra, uint32_t width, uint32_t height, uint32_t stride);
    void Build();
    // Entries as 0xAARRGGBB, opaque; valid after Build.
    const std::array<uint32_t, 256>& Colors() const { return m_Colors; }
    // Palette indices of row y: exact colours as they are, the others dithered.
    void Map(const uint8_t* bgra, uint32_t width, uint32_t y, uint8_t* out) const;

  private:
    // The colour that holds most of one 15-bit bin (a majority vote over its pixels) and by
    // how many pixels it outnumbers the bin's other colours.
    struct Leader {
        uint32_t color = 0;  // 0xRRGGBB
        uint32_t votes = 0;
    };
    size_t ReserveExact();  // entries taken, from the front of m_Colors

    std::vector<uint32_t> m_Histogram;  // per 15-bit colour
    std::vector<Leader> m_Leaders;      // per 15-bit colour
    std::array<uint32_t, 256> m_Colors{};
    std::vector<uint8_t> m_Nearest;  // per 15-bit colour
    std::vector<int16_t> m_Exact;    // per 15-bit colour: entry of its exact colour, or -1
};

}  // namespace ZEL
