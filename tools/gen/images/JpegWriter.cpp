#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include <csetjmp>
#include <memory>

#include "ImageWriters.h"

namespace AssetGen {

namespace {

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

// libjpeg's default error handler exits the process; jump back instead.
struct ErrorTrap {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void onError(j_common_ptr cinfo) {
    cinfo->err->output_message(cinfo);
    std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1);
}

// Owns the compressor so every exit path destroys it.
class CompressGuard {
  public:
    CompressGuard() { jpeg_create_compress(&cinfo_); }
    ~CompressGuard() { jpeg_destroy_compress(&cinfo_); }
    CompressGuard(const CompressGuard&) = delete;
    CompressGuard& operator=(const CompressGuard&) = delete;
    jpeg_compress_struct* get() { return &cinfo_; }

  private:
    jpeg_compress_struct cinfo_{};
};

}  // namespace

bool writeJpeg(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb,
               int quality) {
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file || rgb.size() < static_cast<size_t>(width) * height * 3) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    ErrorTrap trap;
    CompressGuard guard;
    jpeg_compress_struct* c = guard.get();
    c->err = jpeg_std_error(&trap.mgr);
    trap.mgr.error_exit = onError;
    if (setjmp(trap.jump)) {
        return false;
    }
    jpeg_stdio_dest(c, file.get());
    c->image_width = static_cast<JDIMENSION>(width);
    c->image_height = static_cast<JDIMENSION>(height);
    c->input_components = 3;
    c->in_color_space = JCS_RGB;
    jpeg_set_defaults(c);
    jpeg_set_quality(c, quality, TRUE);
    // Integer DCT (the default, made explicit): exact arithmetic, so the bytes
    // do not depend on the CPU.
    c->dct_method = JDCT_ISLOW;
    jpeg_start_compress(c, TRUE);
    while (c->next_scanline < c->image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(rgb.data() + static_cast<size_t>(c->next_scanline) * width * 3);
        jpeg_write_scanlines(c, &row, 1);
    }
    jpeg_finish_compress(c);
    return std::fflush(file.get()) == 0;
}

}  // namespace AssetGen
