#pragma once
#include <cstdint>
#include <memory>

#include "DocumentFixture.h"
#include "Gfx/RenderTarget.h"

// Loads documents onto a real 200x200 target and reads back what a frame shows.
class RenderFixture : public DocumentFixture {
  protected:
    struct Pixel {
        int b, g, r, a;
    };

    void SetUp() override {
        DocumentFixture::SetUp();
        ASSERT_EQ(Gfx::RenderTarget::Create(200, 200, 96.0f, &m_Target), Gfx::kOk);
    }

    std::unique_ptr<ZEL::Scenimator> LoadOnTarget(const std::string& text, uint32_t start = 0) {
        auto doc = LoadText(text, start, m_Target.get());
        EXPECT_TRUE(doc) << Error();
        return doc;
    }

    // Update, clear to white and render, as the players do; returns Render's code.
    int Frame(ZEL::IScenimator& doc, uint32_t time) {
        EXPECT_EQ(doc.Update(time), ZEL::kSuccess) << doc.GetErrorText();
        m_Target->BeginDraw();
        m_Target->Clear(Gfx::ColorF{1, 1, 1, 1});
        const int code = doc.Render(Gfx::Matrix3x2::Identity(), nullptr);
        EXPECT_EQ(m_Target->EndDraw(), Gfx::kOk);
        return code;
    }

    Pixel At(int x, int y) {
        const uint8_t* row = m_Target->GetPixels() + static_cast<size_t>(y) * m_Target->GetStride();
        return Pixel{row[4 * x], row[4 * x + 1], row[4 * x + 2], row[4 * x + 3]};
    }
    bool IsWhite(int x, int y) {
        const Pixel p = At(x, y);
        return p.r == 255 && p.g == 255 && p.b == 255;
    }
    bool IsRed(int x, int y) {
        const Pixel p = At(x, y);
        return p.r > 240 && p.g < 15 && p.b < 15;
    }

    std::shared_ptr<Gfx::RenderTarget> m_Target;
};
