// gen_images: draws the start-up show's images.
//
//   gen_images OUTDIR
//
// Writes glow.png, grid.png, stars.png (8-bit RGBA), sunset.jpg (quality 90)
// and badge.png (4-bit palette with transparency) into OUTDIR.
#include <png.h>

#include <cstdio>
#include <string>

#include "ImageWriters.h"
#include "Painters.h"

namespace {

bool writeRgba(const std::string& path, const AssetGen::Raster& r) {
    return AssetGen::writePng(path, {r.width(), r.height(), PNG_COLOR_TYPE_RGB_ALPHA, 8, {}, {}},
                              r.bytes(4));
}

bool writePalette(const std::string& path, const AssetGen::PaletteImage& img) {
    AssetGen::PngLayout layout{img.width, img.height, PNG_COLOR_TYPE_PALETTE, 4, {}, {}};
    for (const auto& c : img.palette) {
        layout.palette.insert(layout.palette.end(),
                              {AssetGen::to8(c.r), AssetGen::to8(c.g), AssetGen::to8(c.b)});
        layout.alphas.push_back(AssetGen::to8(c.a));
    }
    // Two pixels a byte, high nibble first; odd widths pad the last byte.
    const int rowBytes = (img.width + 1) / 2;
    std::vector<uint8_t> packed(static_cast<size_t>(rowBytes) * img.height, 0);
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            const uint8_t v = img.indices[static_cast<size_t>(y) * img.width + x] & 0x0F;
            packed[static_cast<size_t>(y) * rowBytes + x / 2] |= x % 2 == 0 ? v << 4 : v;
        }
    }
    return AssetGen::writePng(path, layout, packed);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_images OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    const AssetGen::Raster sunset = AssetGen::paintSunset();
    const bool ok = writeRgba(dir + "/glow.png", AssetGen::paintGlow()) &&
                    AssetGen::writeJpeg(dir + "/sunset.jpg", sunset.width(), sunset.height(),
                                        sunset.bytes(3), 90) &&
                    writeRgba(dir + "/grid.png", AssetGen::paintGrid()) &&
                    writeRgba(dir + "/stars.png", AssetGen::paintStars()) &&
                    writePalette(dir + "/badge.png", AssetGen::paintBadge());
    return ok ? 0 : 1;
}
