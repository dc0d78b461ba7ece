#include <algorithm>
#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "Gfx/DecodedImage.h"

namespace Gfx {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    jmp_buf jump;
};

// The default error_exit ends the process.
[[noreturn]] void OnError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}
void OnMessage(j_common_ptr) {}

// Owns the decompressor outside every setjmp frame.
class JpegReader {
  public:
    JpegReader() {
        cinfo.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = OnError;
        errors.base.output_message = OnMessage;  // warnings are counted, not printed
    }
    ~JpegReader() {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    jpeg_decompress_struct cinfo{};
    ErrorManager errors{};
    bool created = false;
};

// The two functions below hold setjmp; they keep no objects with destructors.
bool ReadHeader(JpegReader* r, std::FILE* file, long memoryBudget) {
    jpeg_decompress_struct* cinfo = &r->cinfo;
    if (setjmp(r->errors.jump))
        return false;
    jpeg_create_decompress(cinfo);
    r->created = true;
    cinfo->mem->max_memory_to_use = memoryBudget;
    jpeg_stdio_src(cinfo, file);
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK)
        return false;
    if (cinfo->jpeg_color_space != JCS_CMYK && cinfo->jpeg_color_space != JCS_YCCK) {
        cinfo->out_color_space = JCS_EXT_BGR;
        jpeg_calc_output_dimensions(cinfo);
    }
    return true;
}

bool ReadScanlines(JpegReader* r, uint8_t* pixels, size_t stride) {
    jpeg_decompress_struct* cinfo = &r->cinfo;
    if (setjmp(r->errors.jump))
        return false;
    jpeg_start_decompress(cinfo);
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = pixels + cinfo->output_scanline * stride;
        jpeg_read_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

}  // namespace

Result DecodeJpeg(std::FILE* file, const DecodeLimits& limits, DecodedImage* out) {
    // Progressive files buffer every coefficient; bound that by the pixel limit.
    const uint64_t budget = std::min<uint64_t>(limits.maxPixels * 8 + (16u << 20), 1ull << 40);
    JpegReader reader;
    if (!ReadHeader(&reader, file, static_cast<long>(budget)))
        return kBadImageHeader;
    const jpeg_decompress_struct& cinfo = reader.cinfo;
    // CMYK cannot be converted to BGR.
    if (cinfo.out_color_space != JCS_EXT_BGR || cinfo.output_components != 3)
        return kUnsupportedImage;
    if (!WithinLimits(cinfo.image_width, cinfo.image_height, limits))
        return kBadImageHeader;

    const uint32_t width = cinfo.output_width, height = cinfo.output_height;
    const size_t stride = static_cast<size_t>(width) * 3;
    std::vector<uint8_t> pixels(stride * height);
    if (!ReadScanlines(&reader, pixels.data(), stride))
        return kBadImageHeader;
    // A truncated file still "decodes", padded with grey, and only warns.
    if (reader.errors.base.num_warnings > 0)
        return kBadImageHeader;

    out->width = width;
    out->height = height;
    out->pixels = std::move(pixels);
    return kOk;
}

}  // namespace Gfx
