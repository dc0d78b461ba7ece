#pragma once
#include <cstdint>
#include <memory>

#include "Gfx/Result.h"
#include "Gfx/Types.h"

namespace Gfx {

enum class PixelFormat {
    BGRA8Premultiplied,  // 4 bytes: blue, green, red, alpha (premultiplied)
    A8,                  // 1 byte: alpha only (masks)
};

// Pixels held by the backend, ready to draw. Immutable once created.
class Bitmap : public std::enable_shared_from_this<Bitmap> {
  public:
    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    SizeU GetPixelSize() const { return m_Size; }
    PixelFormat GetFormat() const { return m_Format; }

    // Copies rows of premultiplied BGRA (or A8) pixels; pitch is the source row length in bytes.
    static Result Create(SizeU size, const void* pixels, uint32_t pitch, PixelFormat format,
                         std::shared_ptr<Bitmap>* out);

    struct Native;
    const Native* GetNative() const { return m_Native.get(); }
    Bitmap(SizeU size, PixelFormat format, std::unique_ptr<Native> native);

  private:
    SizeU m_Size;
    PixelFormat m_Format;
    std::unique_ptr<Native> m_Native;
};

// Straight BGRA -> premultiplied BGRA, in place (opaque pixels are unchanged).
void PremultiplyBgra(uint8_t* pixels, uint32_t width, uint32_t height, uint32_t pitch);

}  // namespace Gfx
