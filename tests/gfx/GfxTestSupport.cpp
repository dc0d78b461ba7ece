#include "GfxTestSupport.h"

#include <png.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
// jpeglib.h needs FILE declared first.
#include <jpeglib.h>

namespace GfxTest {

std::shared_ptr<Gfx::RenderTarget> WhiteCanvas(uint32_t width, uint32_t height, float dpi) {
    std::shared_ptr<Gfx::RenderTarget> target;
    if (Gfx::RenderTarget::Create(width, height, dpi, &target) != Gfx::kOk)
        throw std::runtime_error("no target");
    target->BeginDraw();
    target->Clear({1, 1, 1, 1});
    return target;
}

Pixel At(Gfx::RenderTarget& target, int x, int y) {
    const uint8_t* p = target.GetPixels() + static_cast<size_t>(y) * target.GetStride() +
                       static_cast<size_t>(x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

bool Near(Pixel p, Pixel e, int tolerance) {
    return std::abs(p.b - e.b) <= tolerance && std::abs(p.g - e.g) <= tolerance &&
           std::abs(p.r - e.r) <= tolerance && std::abs(p.a - e.a) <= tolerance;
}

int CountNonWhite(Gfx::RenderTarget& target) {
    int count = 0;
    const Gfx::SizeU size = target.GetPixelSize();
    for (uint32_t y = 0; y < size.height; ++y)
        for (uint32_t x = 0; x < size.width; ++x)
            if (!Near(At(target, static_cast<int>(x), static_cast<int>(y)), kWhite, 0))
                ++count;
    return count;
}

std::shared_ptr<Gfx::Geometry> Rect(float l, float t, float r, float b) {
    std::shared_ptr<Gfx::Geometry> g;
    Gfx::CreateRectangleGeometry({l, t, r, b}, &g);
    return g;
}

std::shared_ptr<Gfx::Geometry> Ellipse(float cx, float cy, float rx, float ry) {
    std::shared_ptr<Gfx::Geometry> g;
    Gfx::CreateEllipseGeometry({cx, cy}, rx, ry, &g);
    return g;
}

std::shared_ptr<Gfx::SolidColorBrush> Solid(float r, float g, float b, float a) {
    return std::make_shared<Gfx::SolidColorBrush>(Gfx::ColorF{r, g, b, a}, Gfx::BrushProperties{});
}

TempDir::TempDir() {
    char pattern[] = "/tmp/gfxtest-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp");
    m_Path = pattern;
}

TempDir::~TempDir() {
    std::string command = "rm -rf '" + m_Path + "'";
    if (std::system(command.c_str()) != 0)
        std::perror("rm");
}

void WritePng(const std::string& path, uint32_t width, uint32_t height, int colorType, int bitDepth,
              const std::vector<uint8_t>& samples, const std::vector<uint8_t>& palette) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("open " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, bitDepth, colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> colors;
    for (size_t i = 0; i + 2 < palette.size(); i += 3)
        colors.push_back({palette[i], palette[i + 1], palette[i + 2]});
    if (!colors.empty())
        png_set_PLTE(png, info, colors.data(), static_cast<int>(colors.size()));
    png_write_info(png, info);
    const size_t rowBytes = samples.size() / height;
    for (uint32_t y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(samples.data() + y * rowBytes));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

void WriteJpeg(const std::string& path, uint32_t width, uint32_t height,
               const std::vector<uint8_t>& rgb) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("open " + path);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + cinfo.next_scanline * width * 3);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace GfxTest
