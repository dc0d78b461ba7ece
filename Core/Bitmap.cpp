#include "Core/Bitmap.h"

#include <algorithm>
#include <cassert>
#include <vector>

#include "Core/CheckResult.h"
#include "Core/Factory.h"
#include "Core/Scenimator.h"
#include "Gfx/ImageDecoder.h"

namespace ZEL {

namespace {

// JPEG's 3 bytes or 4 bytes a pixel to premultiplied blue-green-red-alpha.
std::vector<uint8_t> ToPremultipliedBgra(const std::vector<uint8_t>& source, uint32_t bpp,
                                         uint32_t width, uint32_t height) {
    const size_t pixels = size_t{width} * height;
    std::vector<uint8_t> bgra(pixels * 4);
    for (size_t i = 0; i < pixels; ++i) {
        bgra[4 * i + 0] = source[bpp * i + 0];
        bgra[4 * i + 1] = source[bpp * i + 1];
        bgra[4 * i + 2] = source[bpp * i + 2];
        bgra[4 * i + 3] = bpp == 3 ? 255 : source[bpp * i + 3];
    }
    // The pixels are declared premultiplied, so translucent ones must be made so.
    Gfx::PremultiplyBgra(bgra.data(), width, height, width * 4);
    return bgra;
}

}  // namespace

std::string Bitmap::FilePath() const {
    return ToNativePath(ToWide(m_FileName));
}

std::shared_ptr<Gfx::Bitmap> Bitmap::CreateResource() {
    assert(m_RT && "m_RT");
    assert(m_type == BitmapType::FromFile && "m_type == FromFile");
    const std::string path = FilePath();
    if (m_EngineFactory) {
        if (auto shared = m_EngineFactory->FindDecoded(path)) {
            m_Width = shared->GetPixelSize().width;
            m_Height = shared->GetPixelSize().height;
            return shared;
        }
    }
    Gfx::DecodeLimits limits;
    if (m_Document) {
        limits.maxPixels = std::min<uint64_t>(limits.maxPixels, m_Document->DecodedPixelsLeft());
    }
    std::unique_ptr<Gfx::ImageDecoder> decoder;
    CheckResult(Gfx::ImageDecoder::Open(path, limits, &decoder));
    m_Width = decoder->GetWidth();
    m_Height = decoder->GetHeight();
    if (m_Document) {
        m_Document->ChargeDecodedPixels(uint64_t{m_Width} * m_Height);
    }
    const uint32_t bpp = decoder->GetBytesPerPixel();
    std::vector<uint8_t> source(size_t{m_Width} * m_Height * bpp);
    CheckResult(
        decoder->CopyPixels(m_Width * bpp, static_cast<uint32_t>(source.size()), source.data()));
    decoder.reset();
    const std::vector<uint8_t> bgra = ToPremultipliedBgra(source, bpp, m_Width, m_Height);
    std::shared_ptr<Gfx::Bitmap> bitmap;
    CheckResult(Gfx::Bitmap::Create(Gfx::SizeU{m_Width, m_Height}, bgra.data(), m_Width * 4,
                                    Gfx::PixelFormat::BGRA8Premultiplied, &bitmap));
    if (m_EngineFactory) {
        m_EngineFactory->StoreDecoded(path, bitmap);
    }
    return bitmap;
}

}  // namespace ZEL
