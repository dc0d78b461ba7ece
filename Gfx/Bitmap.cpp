#include "Gfx/Bitmap.h"

#include <cstring>
#include <new>

#include "Gfx/CairoNative.h"

namespace Gfx {

Bitmap::Bitmap(SizeU size, PixelFormat format, std::unique_ptr<Native> native)
    : m_Size(size), m_Format(format), m_Native(std::move(native)) {}

Bitmap::~Bitmap() = default;

Result Bitmap::Create(SizeU size, const void* pixels, uint32_t pitch, PixelFormat format,
                      std::shared_ptr<Bitmap>* out) {
    return CreateBitmapWithDpi(size, pixels, pitch, format, 96, out);
}

Result CreateBitmapWithDpi(SizeU size, const void* pixels, uint32_t pitch, PixelFormat format,
                           float dpi, std::shared_ptr<Bitmap>* out) {
    if (!out || size.width > kMaxSurfaceSide || size.height > kMaxSurfaceSide)
        return kInvalidArg;
    const uint32_t bytesPerPixel = format == PixelFormat::A8 ? 1 : 4;
    const size_t rowBytes = static_cast<size_t>(size.width) * bytesPerPixel;
    const bool hasPixels = size.width > 0 && size.height > 0;
    if (hasPixels && (!pixels || pitch < rowBytes))
        return kInvalidArg;

    const cairo_format_t cf = format == PixelFormat::A8 ? CAIRO_FORMAT_A8 : CAIRO_FORMAT_ARGB32;
    cairo_surface_t* surface =
        cairo_image_surface_create(cf, static_cast<int>(size.width), static_cast<int>(size.height));
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return kOutOfMemory;
    }
    if (hasPixels) {
        cairo_surface_flush(surface);
        uint8_t* dst = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const auto* src = static_cast<const uint8_t*>(pixels);
        for (uint32_t y = 0; y < size.height; ++y)
            std::memcpy(dst + static_cast<size_t>(y) * stride, src + static_cast<size_t>(y) * pitch,
                        rowBytes);
        cairo_surface_mark_dirty(surface);
    }
    std::unique_ptr<Bitmap::Native> native(new (std::nothrow) Bitmap::Native(surface, dpi));
    if (!native) {
        cairo_surface_destroy(surface);
        return kOutOfMemory;
    }
    try {
        *out = std::make_shared<Bitmap>(size, format, std::move(native));
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
    return kOk;
}

void PremultiplyBgra(uint8_t* pixels, uint32_t width, uint32_t height, uint32_t pitch) {
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* p = pixels + static_cast<size_t>(y) * pitch;
        for (uint32_t x = 0; x < width; ++x, p += 4) {
            const unsigned a = p[3];
            if (a == 255)
                continue;
            // Rounded a * c / 255 without a division.
            for (int c = 0; c < 3; ++c) {
                const unsigned t = p[c] * a + 128;
                p[c] = static_cast<uint8_t>((t + (t >> 8)) >> 8);
            }
        }
    }
}

}  // namespace Gfx
