#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Core/Factory.h"
#include "Core/Scenimator.h"
#include "FrameDifference.h"
#include "Gfx/RenderTarget.h"
#include "RasterModes.h"

// Documents played on targets in chosen raster modes, and ways to compare their frames.
namespace RasterTest {

// One document playing on a target of its own.
class Player {
  public:
    Player(const std::string& path, const Gfx::RasterOptions& options, uint32_t width,
           uint32_t height, float dpi) {
        EXPECT_EQ(Gfx::RenderTarget::Create(width, height, dpi, &m_Target), Gfx::kOk);
        m_Target->SetRasterOptions(options);
        ZEL::IScenimator* doc = nullptr;
        EXPECT_EQ(m_Factory.CreateScenimator(path, 0, m_Target.get(), &doc), ZEL::kSuccess)
            << m_Factory.GetErrorText();
        m_Document.reset(doc);
    }
    // Update and draw as the players do; the pixels of the frame.
    std::vector<uint8_t> Frame(uint32_t time) {
        EXPECT_EQ(m_Document->Update(time), ZEL::kSuccess) << m_Document->GetErrorText();
        m_Target->BeginDraw();
        m_Target->Clear(Gfx::ColorF{1, 1, 1, 1});
        EXPECT_EQ(m_Document->Render(Gfx::Matrix3x2::Identity(), nullptr), ZEL::kSuccess)
            << m_Document->GetErrorText();
        EXPECT_EQ(m_Target->EndDraw(), Gfx::kOk);
        const uint8_t* p = m_Target->GetPixels();
        return std::vector<uint8_t>(p, p + m_Target->GetStride() * m_Target->GetPixelSize().height);
    }
    Gfx::RenderTarget& Target() { return *m_Target; }
    ZEL::IScenimator& Document() { return *m_Document; }

  private:
    std::shared_ptr<Gfx::RenderTarget> m_Target;
    ZEL::Factory m_Factory;
    std::unique_ptr<ZEL::IScenimator> m_Document;
};

using Bench::Compare;
using Bench::Difference;

// Byte-identical frames, or where and how often they differ.
inline ::testing::AssertionResult Identical(const std::vector<uint8_t>& a,
                                            const std::vector<uint8_t>& b, int width) {
    if (a == b)
        return ::testing::AssertionSuccess();
    size_t first = a.size(), count = 0;
    for (size_t i = 0; i < a.size(); i += 4) {
        if (std::memcmp(&a[i], &b[i], 4) != 0) {
            first = std::min(first, i);
            ++count;
        }
    }
    const size_t pixel = first / 4;
    return ::testing::AssertionFailure()
           << count << " pixels differ, the first at (" << pixel % width << ", " << pixel / width
           << "): " << int(a[first + 2]) << "," << int(a[first + 1]) << "," << int(a[first]) << ","
           << int(a[first + 3]) << " against " << int(b[first + 2]) << "," << int(b[first + 1])
           << "," << int(b[first]) << "," << int(b[first + 3]);
}

}  // namespace RasterTest
