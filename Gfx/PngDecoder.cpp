#include <png.h>

#include <cstdio>

#include "Gfx/DecodedImage.h"

namespace Gfx {

namespace {

void ReadFromFile(png_structp png, png_bytep out, png_size_t length) {
    auto* file = static_cast<std::FILE*>(png_get_io_ptr(png));
    if (std::fread(out, 1, length, file) != length)
        png_error(png, "truncated");
}

[[noreturn]] void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

// Owns the libpng structures outside every setjmp frame.
class PngReader {
  public:
    PngReader() {
        m_Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
        if (m_Png)
            m_Info = png_create_info_struct(m_Png);
    }
    ~PngReader() { png_destroy_read_struct(&m_Png, m_Info ? &m_Info : nullptr, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;
    bool Valid() const { return m_Png && m_Info; }
    png_structp Png() const { return m_Png; }
    png_infop Info() const { return m_Info; }

  private:
    png_structp m_Png = nullptr;
    png_infop m_Info = nullptr;
};

// Turns every colour type and bit depth into 8-bit BGRA; the file's gamma is left alone.
void RequestBgra(png_structp png, png_infop info) {
    const int type = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (type == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (hasTrns)
        png_set_tRNS_to_alpha(png);
    if (depth == 16)
        png_set_scale_16(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if (!(type & PNG_COLOR_MASK_ALPHA) && !hasTrns)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
}

// The two functions below hold setjmp; they keep no objects with destructors.
bool ReadHeader(png_structp png, png_infop info, uint32_t maxSide, uint32_t* width,
                uint32_t* height) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_user_limits(png, maxSide, maxSide);
    png_read_info(png, info);
    RequestBgra(png, info);
    png_read_update_info(png, info);
    *width = png_get_image_width(png, info);
    *height = png_get_image_height(png, info);
    return png_get_rowbytes(png, info) == static_cast<size_t>(*width) * 4;
}

bool ReadRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    return true;
}

}  // namespace

Result DecodePng(std::FILE* file, const DecodeLimits& limits, DecodedImage* out) {
    PngReader reader;
    if (!reader.Valid())
        return kOutOfMemory;
    png_set_read_fn(reader.Png(), file, ReadFromFile);
    uint32_t width = 0, height = 0;
    if (!ReadHeader(reader.Png(), reader.Info(), limits.maxSide, &width, &height))
        return kBadImageHeader;
    if (!WithinLimits(width, height, limits))
        return kBadImageHeader;

    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    std::vector<png_bytep> rows(height);
    for (uint32_t y = 0; y < height; ++y)
        rows[y] = pixels.data() + static_cast<size_t>(y) * width * 4;
    if (!ReadRows(reader.Png(), rows.data()))
        return kBadImageHeader;

    out->width = width;
    out->height = height;
    out->pixels = std::move(pixels);
    return kOk;
}

}  // namespace Gfx
