#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

#include "ImageWriters.h"

namespace AssetGen {

namespace {

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

// Owns the libpng write structs.
class PngWriteGuard {
  public:
    PngWriteGuard() {
        png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        info_ = png_ ? png_create_info_struct(png_) : nullptr;
    }
    ~PngWriteGuard() { png_destroy_write_struct(&png_, &info_); }
    PngWriteGuard(const PngWriteGuard&) = delete;
    PngWriteGuard& operator=(const PngWriteGuard&) = delete;

    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

  private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

int channelsOf(int colorType) {
    switch (colorType) {
        case PNG_COLOR_TYPE_RGB_ALPHA:
            return 4;
        case PNG_COLOR_TYPE_RGB:
            return 3;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 2;
        default:
            return 1;
    }
}

void setHeader(const PngWriteGuard& g, const PngLayout& l) {
    png_set_IHDR(g.png(), g.info(), l.width, l.height, l.bitDepth, l.colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (l.colorType == PNG_COLOR_TYPE_PALETTE) {
        std::vector<png_color> colors;
        for (size_t i = 0; i + 2 < l.palette.size(); i += 3) {
            colors.push_back({l.palette[i], l.palette[i + 1], l.palette[i + 2]});
        }
        png_set_PLTE(g.png(), g.info(), colors.data(), static_cast<int>(colors.size()));
        if (!l.alphas.empty()) {
            png_set_tRNS(g.png(), g.info(), l.alphas.data(), static_cast<int>(l.alphas.size()),
                         nullptr);
        }
    }
}

}  // namespace

bool writePng(const std::string& path, const PngLayout& layout, const std::vector<uint8_t>& data) {
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    PngWriteGuard guard;
    if (!file || !guard.png() || !guard.info()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    const size_t rowBytes =
        (static_cast<size_t>(layout.width) * channelsOf(layout.colorType) * layout.bitDepth + 7) /
        8;
    if (data.size() < rowBytes * layout.height) {
        std::fprintf(stderr, "%s: pixel data too short\n", path.c_str());
        return false;
    }
    if (setjmp(png_jmpbuf(guard.png()))) {
        std::fprintf(stderr, "libpng failed writing %s\n", path.c_str());
        return false;
    }
    png_init_io(guard.png(), file.get());
    setHeader(guard, layout);
    png_write_info(guard.png(), guard.info());
    for (int y = 0; y < layout.height; ++y) {
        png_write_row(guard.png(), data.data() + rowBytes * y);
    }
    png_write_end(guard.png(), nullptr);
    return std::fflush(file.get()) == 0;
}

}  // namespace AssetGen
