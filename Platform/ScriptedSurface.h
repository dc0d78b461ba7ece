#pragma once
#include "Platform/IDrawingSurface.h"

namespace ZEL {

class ScriptedOsLayer;

// A drawing surface without pixels: it logs into its OS layer and ends each frame by
// letting the layer's clock run for that frame's duration.
class ScriptedSurface : public IDrawingSurface {
  public:
    struct Config {
        bool followsWindowSize = true;
        Gfx::Result endDrawResult = Gfx::kOk;
        Gfx::Result resizeResult = Gfx::kOk;
    };

    ScriptedSurface(ScriptedOsLayer& os, const Config& config);
    ~ScriptedSurface() override;

    Gfx::RenderTarget* GetRenderTarget() override { return nullptr; }
    void BeginDraw() override;
    void Clear(const Gfx::ColorF& color) override;
    Gfx::Result EndDraw() override;
    void Present() override;
    bool FollowsWindowSize() const override { return m_Config.followsWindowSize; }
    Gfx::Result Resize(uint32_t width, uint32_t height) override;

  private:
    ScriptedOsLayer& m_Os;
    Config m_Config;
};

}  // namespace ZEL
