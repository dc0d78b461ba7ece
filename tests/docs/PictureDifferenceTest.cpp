#include "PictureDifference.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kW = 40, kH = 30;

// A white picture with a blue rectangle from x0 (inclusive) to x1 (exclusive), rows 10..20.
std::vector<uint8_t> Box(int x0, int x1, uint8_t blue = 200) {
    std::vector<uint8_t> p(kW * kH * 3, 255);
    for (uint32_t y = 10; y < 20; ++y) {
        for (int x = x0; x < x1; ++x) {
            uint8_t* px = &p[(y * kW + x) * 3];
            px[0] = blue, px[1] = 80, px[2] = 40;
        }
    }
    return p;
}

TEST(PictureDifference, EdgeCoverageMayMoveButShapesAndColoursMayNot) {
    const auto picture = Box(10, 30);
    EXPECT_TRUE(Docs::ComparePictures(picture, picture, kW, kH).Acceptable());

    // Softened edge columns, as another coverage rule would draw them.
    auto soft = picture;
    for (uint32_t y = 10; y < 20; ++y) {
        soft[(y * kW + 10) * 3 + 1] += 20;
        soft[(y * kW + 29) * 3 + 1] += 20;
    }
    EXPECT_TRUE(Docs::ComparePictures(picture, soft, kW, kH).Acceptable());

    EXPECT_FALSE(Docs::ComparePictures(picture, Box(11, 31), kW, kH).Acceptable());
    EXPECT_FALSE(Docs::ComparePictures(picture, Box(10, 30, 195), kW, kH).Acceptable());
    EXPECT_FALSE(Docs::ComparePictures(picture, Box(0, 0), kW, kH).Acceptable());
}

}  // namespace
