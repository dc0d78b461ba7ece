#include <gtest/gtest.h>
#include <png.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "Gfx/ImageDecoder.h"
#include "GfxTestSupport.h"

using namespace Gfx;
using GfxTest::TempDir;

namespace {

struct Decoded {
    Result result;
    std::unique_ptr<ImageDecoder> decoder;
    std::vector<uint8_t> pixels;
};

Decoded Decode(const std::string& path, const DecodeLimits& limits = {}) {
    Decoded d;
    d.result = ImageDecoder::Open(path, limits, &d.decoder);
    if (d.result == kOk) {
        const uint32_t stride = d.decoder->GetWidth() * d.decoder->GetBytesPerPixel();
        d.pixels.resize(static_cast<size_t>(stride) * d.decoder->GetHeight());
        EXPECT_EQ(
            d.decoder->CopyPixels(stride, static_cast<uint32_t>(d.pixels.size()), d.pixels.data()),
            kOk);
    }
    return d;
}

// Only the signature and a header: what a hostile file claiming a huge image looks like.
void WriteHeaderOnlyPng(const std::string& path, uint32_t width, uint32_t height) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_user_limits(png, width, height);
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_flush(png);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

}  // namespace

TEST(PngDecoding, EveryLayoutBecomesStraightBgra) {
    TempDir dir;
    GfxTest::WritePng(dir.File("rgba.png"), 2, 1, PNG_COLOR_TYPE_RGBA, 8,
                      {10, 20, 30, 40, 250, 240, 230, 255});
    GfxTest::WritePng(dir.File("palette.png"), 3, 1, PNG_COLOR_TYPE_PALETTE, 8, {1, 0, 1},
                      {255, 0, 0, 0, 128, 255});
    GfxTest::WritePng(dir.File("grey.png"), 2, 1, PNG_COLOR_TYPE_GRAY, 8, {77, 200});
    GfxTest::WritePng(dir.File("grey1.png"), 8, 1, PNG_COLOR_TYPE_GRAY, 1, {0xA0});
    GfxTest::WritePng(dir.File("rgb16.png"), 1, 1, PNG_COLOR_TYPE_RGB, 16,
                      {0xFF, 0xFF, 0x00, 0x00, 0x80, 0x80});
    GfxTest::WritePng(dir.File("greyalpha16.png"), 1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16,
                      {0x40, 0x40, 0x80, 0x80});

    struct Case {
        const char* file;
        std::vector<uint8_t> bgra;
    };
    const Case cases[] = {
        {"rgba.png", {30, 20, 10, 40, 230, 240, 250, 255}},  // straight alpha, not premultiplied
        {"palette.png", {255, 128, 0, 255, 0, 0, 255, 255, 255, 128, 0, 255}},
        {"grey.png", {77, 77, 77, 255, 200, 200, 200, 255}},
        {"grey1.png", {255, 255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255,
                       0,   0,   0,   255, 0, 0, 0, 255, 0,   0,   0,   255, 0, 0, 0, 255}},
        {"rgb16.png", {128, 0, 255, 255}},
        {"greyalpha16.png", {64, 64, 64, 128}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Decoded d = Decode(dir.File(c.file));
        ASSERT_EQ(d.result, kOk);
        EXPECT_EQ(d.decoder->GetContainerFormat(), ContainerFormat::Png);
        EXPECT_EQ(d.decoder->GetFrameCount(), 1u);
        EXPECT_EQ(d.decoder->GetBytesPerPixel(), 4u);
        EXPECT_EQ(d.pixels, c.bgra);
    }
}

TEST(JpegDecoding, GivesOpaqueThreeBytePixels) {
    TempDir dir;
    std::vector<uint8_t> rgb;
    for (int i = 0; i < 16 * 8; ++i) rgb.insert(rgb.end(), {200, 100, 50});
    GfxTest::WriteJpeg(dir.File("solid.jpg"), 16, 8, rgb);
    Decoded d = Decode(dir.File("solid.jpg"));
    ASSERT_EQ(d.result, kOk);
    EXPECT_EQ(d.decoder->GetContainerFormat(), ContainerFormat::Jpeg);
    EXPECT_EQ(d.decoder->GetBytesPerPixel(), 3u);
    EXPECT_EQ(d.decoder->GetWidth(), 16u);
    ASSERT_EQ(d.pixels.size(), 16u * 8 * 3);
    EXPECT_NEAR(d.pixels[0], 50, 3);
    EXPECT_NEAR(d.pixels[1], 100, 3);
    EXPECT_NEAR(d.pixels[2], 200, 3);

    // A padded stride, and a buffer that is too small.
    std::vector<uint8_t> padded(64 * 8);
    EXPECT_EQ(d.decoder->CopyPixels(64, static_cast<uint32_t>(padded.size()), padded.data()), kOk);
    EXPECT_EQ(padded[64 * 7 + 2], d.pixels[48 * 7 + 2]);
    EXPECT_EQ(d.decoder->CopyPixels(64, 64 * 7, padded.data()), kInvalidArg);
    EXPECT_EQ(d.decoder->CopyPixels(40, 10000, padded.data()), kInvalidArg);
}

TEST(ImageDecoding, ContainerComesFromTheBytesNotTheName) {
    TempDir dir;
    GfxTest::WritePng(dir.File("really-a-png.jpg"), 1, 1, PNG_COLOR_TYPE_GRAY, 8, {9});
    Decoded d = Decode(dir.File("really-a-png.jpg"));
    ASSERT_EQ(d.result, kOk);
    EXPECT_EQ(d.decoder->GetContainerFormat(), ContainerFormat::Png);
}

TEST(ImageDecoding, BadFilesAreRefusedWithTheirCodes) {
    TempDir dir;
    EXPECT_EQ(Decode(dir.File("nothing-here.png")).result, kFileNotFound);

    GfxTest::WriteBytes(dir.File("garbage.png"), {'h', 'e', 'l', 'l', 'o', 0, 1, 2, 3});
    EXPECT_EQ(Decode(dir.File("garbage.png")).result, kBadImageHeader);
    GfxTest::WriteBytes(dir.File("empty.png"), {});
    EXPECT_EQ(Decode(dir.File("empty.png")).result, kBadImageHeader);

    std::vector<uint8_t> noise(64 * 64 * 3);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 7919 % 251);
    GfxTest::WritePng(dir.File("full.png"), 64, 64, PNG_COLOR_TYPE_RGB, 8, noise);
    GfxTest::WriteJpeg(dir.File("full.jpg"), 64, 64, noise);
    for (const char* name : {"full.png", "full.jpg"}) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> bytes = GfxTest::ReadBytes(dir.File(name));
        ASSERT_EQ(Decode(dir.File(name)).result, kOk);
        bytes.resize(bytes.size() / 2);
        GfxTest::WriteBytes(dir.File("cut"), bytes);
        EXPECT_EQ(Decode(dir.File("cut")).result, kBadImageHeader);
        bytes.resize(20);
        GfxTest::WriteBytes(dir.File("cut"), bytes);
        EXPECT_EQ(Decode(dir.File("cut")).result, kBadImageHeader);
    }
}

TEST(ImageDecoding, HugeDimensionsAreRefusedAtTheHeader) {
    TempDir dir;
    WriteHeaderOnlyPng(dir.File("huge.png"), 20000, 20000);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Decode(dir.File("huge.png")).result, kBadImageHeader);
    DecodeLimits wide;
    wide.maxSide = 30000;  // the side passes, the pixel count does not
    EXPECT_EQ(Decode(dir.File("huge.png"), wide).result, kBadImageHeader);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));

    GfxTest::WritePng(dir.File("small.png"), 40, 2, PNG_COLOR_TYPE_GRAY, 8,
                      std::vector<uint8_t>(80, 1));
    GfxTest::WriteJpeg(dir.File("small.jpg"), 40, 2, std::vector<uint8_t>(240, 1));
    DecodeLimits tight;
    tight.maxSide = 32;
    EXPECT_EQ(Decode(dir.File("small.png"), tight).result, kBadImageHeader);
    EXPECT_EQ(Decode(dir.File("small.jpg"), tight).result, kBadImageHeader);
    tight.maxSide = 64;
    tight.maxPixels = 79;
    EXPECT_EQ(Decode(dir.File("small.jpg"), tight).result, kBadImageHeader);
    tight.maxPixels = 80;
    EXPECT_EQ(Decode(dir.File("small.jpg"), tight).result, kOk);
}

// Anything but a regular file is a file that is not there, refused without reading a byte:
// a FIFO would block for ever, the devices never end.
TEST(ImageDecoding, OnlyRegularFilesAreRead) {
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.File("pipe.png").c_str(), 0600), 0);
    for (const std::string& path : {dir.File("pipe.png"), dir.File(""), std::string("/dev/zero"),
                                    std::string("/dev/urandom"), std::string("/dev/null")}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Decode(path).result, kFileNotFound) << path;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    }
}

// 256 MiB loads (a small image with padding behind it, which decoding never reads); one
// byte more is refused before anything is read.
TEST(ImageDecoding, FilesBeyond256MiBAreRefusedUnread) {
    TempDir dir;
    const std::string path = dir.File("padded.png");
    GfxTest::WritePng(path, 2, 1, PNG_COLOR_TYPE_GRAY, 8, {10, 20});
    const off_t bound = off_t{256} << 20;
    ASSERT_EQ(truncate(path.c_str(), bound), 0);  // sparse: costs no disk
    EXPECT_EQ(Decode(path).result, kOk);
    ASSERT_EQ(truncate(path.c_str(), bound + 1), 0);
    EXPECT_EQ(Decode(path).result, kFileTooLarge);
    // A huge file with a PNG signature and nothing valid behind it fails at the header.
    GfxTest::WriteBytes(path, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'});
    ASSERT_EQ(truncate(path.c_str(), bound), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Decode(path).result, kBadImageHeader);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}
