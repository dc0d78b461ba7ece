#include "Core/Bitmap.h"

#include <cassert>
#include <vector>

#include "Core/CheckResult.h"
#include "Gfx/ImageDecoder.h"

namespace ZEL {

std::shared_ptr<Gfx::Bitmap> Bitmap::CreateResource() {
    assert(m_RT && "m_RT");
    assert(m_type == BitmapType::FromFile && "m_type == FromFile");
    std::unique_ptr<Gfx::ImageDecoder> decoder;
    CheckResult(Gfx::ImageDecoder::Open(ToNativePath(ToWide(m_FileName)), Gfx::DecodeLimits{},
                                        &decoder));
    m_Width = decoder->GetWidth();
    m_Height = decoder->GetHeight();
    const uint32_t bpp = decoder->GetBytesPerPixel();
    const size_t pixels = size_t{m_Width} * m_Height;
    std::vector<uint8_t> source(pixels * bpp);
    CheckResult(decoder->CopyPixels(m_Width * bpp, static_cast<uint32_t>(source.size()),
                                    source.data()));
    std::vector<uint8_t> bgra(pixels * 4);
    for (size_t i = 0; i < pixels; ++i) {
        bgra[4 * i + 0] = source[bpp * i + 0];
        bgra[4 * i + 1] = source[bpp * i + 1];
        bgra[4 * i + 2] = source[bpp * i + 2];
        bgra[4 * i + 3] = bpp == 3 ? 255 : source[bpp * i + 3];
    }
    // The pixels are declared premultiplied, so translucent ones must be made so.
    Gfx::PremultiplyBgra(bgra.data(), m_Width, m_Height, m_Width * 4);
    std::shared_ptr<Gfx::Bitmap> bitmap;
    Gfx::SizeU size;
    size.width = m_Width;
    size.height = m_Height;
    CheckResult(Gfx::Bitmap::Create(size, bgra.data(), m_Width * 4,
                                    Gfx::PixelFormat::BGRA8Premultiplied, &bitmap));
    return bitmap;
}

}  // namespace ZEL
