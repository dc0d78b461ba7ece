#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace AssetGen {

struct PngLayout {
    int width;
    int height;
    int colorType;  // PNG_COLOR_TYPE_*
    int bitDepth;
    std::vector<uint8_t> palette;  // RGB triples, palette images only
    std::vector<uint8_t> alphas;   // tRNS entries, palette images only
};

// Writes tightly packed rows (row bytes = ceil(width * channels * depth / 8)).
// No time or text chunks, so the file depends on the pixels alone. Returns
// false with a message on stderr on failure.
bool writePng(const std::string& path, const PngLayout& layout, const std::vector<uint8_t>& data);

// Baseline JPEG of 8-bit RGB rows; JFIF header only, no varying metadata.
bool writeJpeg(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb,
               int quality);

}  // namespace AssetGen
