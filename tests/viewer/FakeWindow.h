#pragma once
#include <deque>
#include <memory>
#include <string>

#include "Gfx/RenderTarget.h"
#include "Viewer/IViewerWindow.h"

// A window without a screen: queued events, a real offscreen target, and the last title
// and overlay it was given.
class FakeWindow : public ZEL::IViewerWindow {
  public:
    explicit FakeWindow(float dpi = 96) {
        Gfx::RenderTarget::Create(static_cast<uint32_t>(160 * dpi / 96),
                                  static_cast<uint32_t>(120 * dpi / 96), dpi, &m_Target);
        m_Target->SetDpi(dpi, dpi);
    }

    bool PollEvent(ZEL::ViewerEvent* event) override {
        if (events.empty()) {
            return false;
        }
        *event = events.front();
        events.pop_front();
        return true;
    }
    Gfx::RenderTarget& Target() override { return *m_Target; }
    void SetTitle(const std::string& text) override { title = text; }
    void Present(const ZEL::OverlayModel& shown) override {
        overlay = shown;
        ++presents;
    }

    // A pixel of the target as 0xRRGGBB.
    uint32_t Rgb(int x, int y) {
        const uint8_t* p = m_Target->GetPixels() + y * m_Target->GetStride() + 4 * x;
        return uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
    }

    std::deque<ZEL::ViewerEvent> events;
    std::string title;
    ZEL::OverlayModel overlay;
    int presents = 0;

  private:
    std::shared_ptr<Gfx::RenderTarget> m_Target;
};
