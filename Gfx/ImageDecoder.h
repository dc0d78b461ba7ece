#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Gfx/Result.h"

namespace Gfx {

enum class ContainerFormat { Unknown, Png, Jpeg };

// Upper bounds that keep a hostile file from costing gigabytes.
struct DecodeLimits {
    uint32_t maxSide = 16384;
    uint64_t maxPixels = 64ull * 1000 * 1000;
};

// Opened from a file; reports container and frame count and copies frame 0:
// JPEG as 3-byte blue-green-red, every PNG converted to 4-byte blue-green-red-alpha
// (straight alpha, file gamma ignored).
class ImageDecoder {
  public:
    // kFileNotFound when the file does not exist or is not a regular file (a FIFO, a
    // device, a directory); kFileTooLarge beyond 256 MiB; kBadImageHeader when it is not a
    // decodable PNG or JPEG (including truncated or corrupt data) or exceeds the limits.
    static Result Open(const std::string& path, const DecodeLimits& limits,
                       std::unique_ptr<ImageDecoder>* out);

    ContainerFormat GetContainerFormat() const { return m_Format; }
    uint32_t GetFrameCount() const { return 1; }
    uint32_t GetWidth() const { return m_Width; }
    uint32_t GetHeight() const { return m_Height; }
    uint32_t GetBytesPerPixel() const { return m_Format == ContainerFormat::Jpeg ? 3 : 4; }
    // Copies frame 0 into buffer with the given stride; kInvalidArg when it does not fit.
    Result CopyPixels(uint32_t stride, uint32_t bufferSize, uint8_t* buffer) const;

  private:
    ContainerFormat m_Format = ContainerFormat::Unknown;
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
    std::vector<uint8_t> m_Pixels;  // packed rows
};

}  // namespace Gfx
