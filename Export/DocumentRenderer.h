#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "Core/Factory.h"
#include "Core/IScenimator.h"
#include "Gfx/RenderTarget.h"

namespace ZEL {

// A document on an offscreen target of its own, updated and drawn as the players draw it:
// update to the time, clear to opaque white, render with the identity, end the frame.
class DocumentRenderer {
  public:
    struct Settings {
        std::string document;
        uint32_t width = 800, height = 600;  // pixels
        float dpi = 96;
        uint32_t start = 0;  // load time, ms
        Gfx::RasterOptions raster;
    };

    // False with the engine's text in *error when the target or the document cannot be made.
    bool Open(const Settings& settings, std::string* error);
    // False with the engine's text in *error when the update or the drawing fails.
    bool Update(uint32_t time, std::string* error);
    bool Render(std::string* error);
    bool Frame(uint32_t time, std::string* error) { return Update(time, error) && Render(error); }

    Gfx::RenderTarget& Target() { return *m_Target; }
    IScenimator& Document() { return *m_Document; }
    // Premultiplied BGRA rows of the last frame, Stride() bytes apart.
    const uint8_t* Pixels() { return m_Target->GetPixels(); }
    uint32_t Stride() const { return m_Target->GetStride(); }

  private:
    std::shared_ptr<Gfx::RenderTarget> m_Target;
    Factory m_Factory;
    std::unique_ptr<IScenimator> m_Document;
};

}  // namespace ZEL
