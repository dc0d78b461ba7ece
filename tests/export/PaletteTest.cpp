#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "Export/Palette.h"

// A GIF's palette keeps the colours of large areas exact and undithered, and still spends
// its other entries on the rest of the picture.
namespace {

using ZEL::Palette;

struct Frame {
    static constexpr uint32_t kWidth = 160, kHeight = 120;
    std::vector<uint8_t> bgra = std::vector<uint8_t>(kWidth * kHeight * 4, 255);
    void Set(uint32_t x, uint32_t y, uint32_t rgb) {
        uint8_t* p = &bgra[(y * kWidth + x) * 4];
        p[0] = rgb & 255, p[1] = (rgb >> 8) & 255, p[2] = (rgb >> 16) & 255, p[3] = 255;
    }
    uint32_t Stride() const { return kWidth * 4; }
};

// White, a flat orange box, a grey ramp and a one-pixel speck of an odd colour.
Frame Picture() {
    Frame f;
    for (uint32_t y = 0; y < Frame::kHeight; ++y) {
        for (uint32_t x = 0; x < Frame::kWidth; ++x) {
            if (x >= 20 && x < 80 && y >= 20 && y < 60) {
                f.Set(x, y, 0xC86432);  // 200, 100, 50
            } else if (y >= 80) {
                const uint32_t v = x * 255 / (Frame::kWidth - 1);
                f.Set(x, y, v << 16 | v << 8 | v);
            }
        }
    }
    f.Set(4, 4, 0x123456);  // on a pixel the palette counts
    return f;
}

std::vector<uint32_t> Mapped(const Palette& palette, const Frame& f, uint32_t y) {
    std::vector<uint8_t> row(Frame::kWidth);
    palette.Map(f.bgra.data() + y * f.Stride(), Frame::kWidth, y, row.data());
    std::vector<uint32_t> colors;
    for (uint8_t index : row) {
        colors.push_back(palette.Colors()[index] & 0xffffff);
    }
    return colors;
}

TEST(PaletteTest, LargeAreasKeepTheirExactColourWithoutDither) {
    const Frame f = Picture();
    Palette palette;
    palette.Add(f.bgra.data(), Frame::kWidth, Frame::kHeight, f.Stride());
    palette.Build();
    for (uint32_t y = 0; y < 4; ++y) {  // every row of the dither pattern
        for (uint32_t color : Mapped(palette, f, 10 + y)) {
            EXPECT_EQ(color, 0xFFFFFFu);  // white, not 252,252,252
        }
        const std::vector<uint32_t> box = Mapped(palette, f, 30 + y);
        for (uint32_t x = 20; x < 80; ++x) {
            EXPECT_EQ(box[x], 0xC86432u) << x;
        }
    }
}

TEST(PaletteTest, SmallAreasAndRampsAreStillNearAndDithered) {
    const Frame f = Picture();
    Palette palette;
    palette.Add(f.bgra.data(), Frame::kWidth, Frame::kHeight, f.Stride());
    palette.Build();
    // The ramp: each pixel within a palette step of its grey, and more than one entry used
    // around any one grey (the dither), so that no band shows.
    std::set<uint32_t> used;
    for (uint32_t y = 80; y < 84; ++y) {
        const std::vector<uint32_t> row = Mapped(palette, f, y);
        for (uint32_t x = 0; x < Frame::kWidth; ++x) {
            const int v = static_cast<int>(x * 255 / (Frame::kWidth - 1));
            EXPECT_NEAR(static_cast<int>(row[x] & 255), v, 12) << x;
            used.insert(row[x]);
        }
    }
    EXPECT_GT(used.size(), 20u);
    // Too small to earn an exact entry, the speck still comes out near its colour.
    const uint32_t speck = Mapped(palette, f, 4)[4];
    EXPECT_NEAR(static_cast<int>(speck >> 16), 0x12, 12);
    EXPECT_NEAR(static_cast<int>((speck >> 8) & 255), 0x34, 12);
    EXPECT_NEAR(static_cast<int>(speck & 255), 0x56, 12);
}

}  // namespace
