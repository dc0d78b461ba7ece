#pragma once
#include <cstdint>
#include <string>

#include "Core/Image.h"

namespace Gfx {
class RenderTarget;
}

namespace ZEL {

class Factory;

enum class BitmapType { FromFile };

// An image file decoded at first use and uploaded as premultiplied pixels.
class Bitmap : public Image {
  public:
    explicit Bitmap(std::string fileName) : m_FileName(std::move(fileName)) {}
    void OnUpdate() override {}
    uint32_t Width() const { return m_Width; }
    uint32_t Height() const { return m_Height; }
    // The file as this platform opens it, and as the document names it.
    std::string FilePath() const;
    const std::string& FileName() const { return m_FileName; }

    Gfx::RenderTarget* m_RT = nullptr;
    Factory* m_EngineFactory = nullptr;
    BitmapType m_type = BitmapType::FromFile;

  protected:
    std::shared_ptr<Gfx::Bitmap> CreateResource() override;

  private:
    std::string m_FileName;  // as written in the document
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
};

}  // namespace ZEL
