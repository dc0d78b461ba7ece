#include "Gfx/ImageDecoder.h"

#include <cstdio>
#include <cstring>

#include "Gfx/DecodedImage.h"
#include "Gfx/RegularFile.h"

namespace Gfx {

namespace {

// Larger than any image the default limits admit, compressed or not.
constexpr uint64_t kMaxFileBytes = uint64_t{256} << 20;
constexpr size_t kMagicBytes = 12;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool StartsWith(const uint8_t* data, size_t size, const char* magic, size_t length) {
    return size >= length && std::memcmp(data, magic, length) == 0;
}

ContainerFormat Recognise(const uint8_t* data, size_t size) {
    if (StartsWith(data, size, "\x89PNG\r\n\x1a\n", 8))
        return ContainerFormat::Png;
    if (StartsWith(data, size, "\xff\xd8\xff", 3))
        return ContainerFormat::Jpeg;
    return ContainerFormat::Unknown;
}

// Containers this decoder recognises but cannot read.
bool IsOtherImageFormat(const uint8_t* data, size_t size) {
    return StartsWith(data, size, "GIF8", 4) || StartsWith(data, size, "BM", 2) ||
           StartsWith(data, size, "II*\0", 4) || StartsWith(data, size, "MM\0*", 4) ||
           (StartsWith(data, size, "RIFF", 4) && size >= 12 &&
            std::memcmp(data + 8, "WEBP", 4) == 0);
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
        // Anything but a regular file is, for a document, a file that is not there.
        RegularFile file(path);
        if (!file.IsOpen())
            return kFileNotFound;
        if (file.Size() > kMaxFileBytes)
            return kFileTooLarge;
        uint8_t magic[kMagicBytes];
        const long n = file.Read(magic, sizeof magic);
        if (n < 0)
            return kBadImageHeader;
        const ContainerFormat format = Recognise(magic, static_cast<size_t>(n));
        if (format == ContainerFormat::Unknown)
            return IsOtherImageFormat(magic, static_cast<size_t>(n)) ? kUnsupportedImage
                                                                     : kBadImageHeader;
        std::unique_ptr<std::FILE, FileCloser> stream(file.ReleaseAsStream());
        if (!stream)
            return kBadImageHeader;
        DecodedImage image;
        const Result decoded = format == ContainerFormat::Png
                                   ? DecodePng(stream.get(), limits, &image)
                                   : DecodeJpeg(stream.get(), limits, &image);
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
