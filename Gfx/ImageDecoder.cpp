#include "Gfx/ImageDecoder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Gfx/DecodedImage.h"

namespace Gfx {

namespace {

// Larger than any image the default limits admit, compressed or not.
constexpr size_t kMaxFileBytes = size_t{1} << 30;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

Result ReadWholeFile(const std::string& path, std::vector<uint8_t>* out) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return errno == ENOENT || errno == ENOTDIR ? kFileNotFound : kBadImageHeader;
    uint8_t chunk[64 * 1024];
    for (;;) {
        const size_t n = std::fread(chunk, 1, sizeof chunk, file.get());
        out->insert(out->end(), chunk, chunk + n);
        if (out->size() > kMaxFileBytes)
            return kBadImageHeader;
        if (n < sizeof chunk)
            break;
    }
    return std::ferror(file.get()) ? kBadImageHeader : kOk;  // a directory fails here
}

bool StartsWith(const std::vector<uint8_t>& data, const char* magic, size_t length) {
    return data.size() >= length && std::memcmp(data.data(), magic, length) == 0;
}

// Containers this decoder recognises but cannot read.
bool IsOtherImageFormat(const std::vector<uint8_t>& data) {
    return StartsWith(data, "GIF8", 4) || StartsWith(data, "BM", 2) ||
           StartsWith(data, "II*\0", 4) || StartsWith(data, "MM\0*", 4) ||
           (StartsWith(data, "RIFF", 4) && data.size() >= 12 &&
            std::memcmp(data.data() + 8, "WEBP", 4) == 0);
}

}  // namespace

bool WithinLimits(uint32_t width, uint32_t height, const DecodeLimits& limits) {
    return width > 0 && height > 0 && width <= limits.maxSide && height <= limits.maxSide &&
           static_cast<uint64_t>(width) * height <= limits.maxPixels;
}

Result ImageDecoder::Open(const std::string& path, const DecodeLimits& limits,
                          std::unique_ptr<ImageDecoder>* out) {
    if (!out)
        return kInvalidArg;
    try {
        std::vector<uint8_t> data;
        const Result read = ReadWholeFile(path, &data);
        if (read != kOk)
            return read;

        DecodedImage image;
        ContainerFormat format;
        Result decoded;
        if (StartsWith(data, "\x89PNG\r\n\x1a\n", 8)) {
            format = ContainerFormat::Png;
            decoded = DecodePng(data.data(), data.size(), limits, &image);
        } else if (StartsWith(data, "\xff\xd8\xff", 3)) {
            format = ContainerFormat::Jpeg;
            decoded = DecodeJpeg(data.data(), data.size(), limits, &image);
        } else {
            return IsOtherImageFormat(data) ? kUnsupportedImage : kBadImageHeader;
        }
        if (decoded != kOk)
            return decoded;

        std::unique_ptr<ImageDecoder> decoder(new ImageDecoder);
        decoder->m_Format = format;
        decoder->m_Width = image.width;
        decoder->m_Height = image.height;
        decoder->m_Pixels = std::move(image.pixels);
        *out = std::move(decoder);
        return kOk;
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
}

Result ImageDecoder::CopyPixels(uint32_t stride, uint32_t bufferSize, uint8_t* buffer) const {
    const size_t row = static_cast<size_t>(m_Width) * GetBytesPerPixel();
    if (!buffer || stride < row)
        return kInvalidArg;
    if (m_Height == 0)
        return kOk;
    const size_t needed = static_cast<size_t>(stride) * (m_Height - 1) + row;
    if (bufferSize < needed)
        return kInvalidArg;
    for (uint32_t y = 0; y < m_Height; ++y)
        std::memcpy(buffer + static_cast<size_t>(y) * stride, m_Pixels.data() + y * row, row);
    return kOk;
}

}  // namespace Gfx
