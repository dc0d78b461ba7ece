#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "Core/Factory.h"
#include "Gfx/RenderTarget.h"
#include "zel/zel.h"

// The handle behind zel_document: a loaded document with its own render target and its own
// engine factory, so that no two handles share a mask cache, decoded images or error text.
// Members are in this order so that the document goes first, then the factory that keeps its
// masks, then the target it draws on. Every call returns a zel result code and, on failure,
// sets the thread's error text. Arguments are checked by the caller.
struct zel_document {
  public:
    static int Open(const std::string& path, uint32_t width, uint32_t height, float dpi,
                    uint32_t loadTime, std::unique_ptr<zel_document>* out);

    uint32_t Width() const { return m_Target->GetPixelSize().width; }
    uint32_t Height() const { return m_Target->GetPixelSize().height; }
    int Update(uint32_t time);
    // Draws on opaque white and copies the frame into rows stride bytes apart.
    int Render(uint8_t* bgra, uint32_t stride);
    int HitTest(int32_t x, int32_t y, bool* hit);
    int ReadVariable(const std::string& name, float* value);
    int WriteVariable(const std::string& name, float value);
    int Play(const std::string& animation, uint32_t time);

  private:
    zel_document() = default;
    // Passes code on; a failure takes the document's error text.
    int Checked(int code);
    // False when the target has no pixels to give.
    bool CopyFrame(uint8_t* bgra, uint32_t stride);

    std::shared_ptr<Gfx::RenderTarget> m_Target;
    ZEL::Factory m_Factory;
    std::unique_ptr<ZEL::IScenimator> m_Scene;
};
