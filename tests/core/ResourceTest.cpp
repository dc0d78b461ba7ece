#include <gtest/gtest.h>

#include "Core/Animation.h"
#include "Core/DrawCommands.h"
#include "Core/Image.h"
#include "Core/Procedure.h"
#include "Core/Rectangle.h"
#include "Core/SolidColorBrush.h"
#include "RenderFixture.h"

namespace {

// A rectangle that counts its builds.
class CountingRectangle : public ZEL::Rectangle {
  public:
    using ZEL::Rectangle::Rectangle;
    int builds = 0;

  protected:
    std::shared_ptr<Gfx::Geometry> CreateResource() override {
        ++builds;
        return ZEL::Rectangle::CreateResource();
    }
};

class ResourceTest : public RenderFixture {
  protected:
    // MainAnim fills `shape` twice per frame when $draw is not 0... drawing is decided by
    // which animation is current: "on" draws, "off" draws nothing.
    std::unique_ptr<ZEL::Scenimator> Build(bool bound) {
        auto doc = LoadOnTarget(Doc().Text());
        doc->CreateVariable("$w");
        ZEL::ValueD width = bound ? ZEL::ValueD("$w", doc.get()) : ZEL::ValueD(50.0f);
        m_Shape = std::make_shared<CountingRectangle>(ZEL::ValueD(10.0f), ZEL::ValueD(10.0f), width,
                                                      ZEL::ValueD(20.0f));
        m_Shape->dependsOnVariables = bound;
        m_Shape->name = "shape";
        m_Shape->m_EngineFactory = &m_Factory;
        m_Shape->m_Document = doc.get();
        doc->AddGeometry(m_Shape, "shape");
        auto brush = std::make_shared<ZEL::SolidColorBrush>(
            ZEL::Color(ZEL::ValueD(1.0f), ZEL::ValueD(0.0f), ZEL::ValueD(0.0f), ZEL::ValueD(1.0f)));
        brush->m_RT = m_Target.get();
        auto draw = std::make_shared<ZEL::Procedure>();
        for (int i = 0; i < 2; ++i) {
            auto fill = std::make_shared<ZEL::FillCommand>();
            fill->m_RT = m_Target.get();
            fill->m_Geometry = m_Shape;
            fill->m_Brush = brush;
            draw->Append(fill);
        }
        doc->AddAnimation(std::make_shared<ZEL::Animation>(draw, nullptr, "null"), "on");
        doc->AddAnimation(std::make_shared<ZEL::Animation>(nullptr, nullptr, "null"), "off");
        doc->PlayAnimation("on", 0);
        return doc;
    }
    std::shared_ptr<CountingRectangle> m_Shape;
};

TEST_F(ResourceTest, StaticGeometryIsBuiltOnceForTheDocumentsLife) {
    auto doc = Build(false);
    for (uint32_t t = 0; t < 10; ++t) {
        EXPECT_EQ(Frame(*doc, t * 16), ZEL::kSuccess);
    }
    EXPECT_EQ(m_Shape->builds, 1);
    EXPECT_TRUE(IsRed(30, 20));
}

TEST_F(ResourceTest, BoundGeometryIsBuiltOncePerFrameThatDrawsIt) {
    auto doc = Build(true);
    doc->WriteVariable("$w", 20);
    Frame(*doc, 0);
    EXPECT_EQ(m_Shape->builds, 1);  // two fills, one build
    EXPECT_FALSE(m_Shape->IsBuilt());
    EXPECT_TRUE(IsRed(25, 20));
    EXPECT_TRUE(IsWhite(45, 20));

    doc->WriteVariable("$w", 60);
    Frame(*doc, 16);
    EXPECT_EQ(m_Shape->builds, 2);
    EXPECT_TRUE(IsRed(65, 20));

    doc->PlayAnimation("off", 20);
    Frame(*doc, 32);
    Frame(*doc, 48);
    EXPECT_EQ(m_Shape->builds, 2);
}

TEST_F(ResourceTest, FailedBuildLeavesTheResourceEmptyAndIsTriedAgain) {
    Doc d;
    d.images = "noOfImages 1\npic BitmapFromFile{ images\\missing.png }\n";
    d.executables =
        "noOfExecutables 1\ndraw DrawImage{ source pic destRect Rect{ 0 0 10 10 } opacity 1 "
        "srcRect Rect{ 0 0 10 10 } }\n";
    d.animations =
        "noOfAnimations 1\nMainAnim Animation{ renderFunction draw controller null "
        "transitionTarget null }\n";
    auto doc = LoadOnTarget(d.Text());
    ASSERT_TRUE(doc);
    m_Target->BeginDraw();
    EXPECT_EQ(doc->Render(Gfx::Matrix3x2::Identity(), nullptr), ZEL::kRuntimeError);
    EXPECT_EQ(doc->GetErrorText(), "Direct2D returned error: -2147024894");
    EXPECT_FALSE(doc->FindBitmap("pic")->IsBuilt());
    // The file appears: the next frame loads it.
    Write("images/missing.png", "not a png");
    EXPECT_EQ(doc->Render(Gfx::Matrix3x2::Identity(), nullptr), ZEL::kRuntimeError);
    EXPECT_EQ(doc->GetErrorText(), "Direct2D returned error: -2003292319");
    m_Target->EndDraw();
}

TEST_F(ResourceTest, GradientStopsKeepTheirFirstValuesWhileTheBrushFollowsItsOwn) {
    Doc d;
    d.geometries = "noOfGeometries 1\nbox Rectangle{ x 0 y 0 w 200 h 200 hitTest 0 }\n";
    d.brushes =
        "noOfBrushes 1\ng LinearGradientBrush{ start Point{ 0 0 } end Point{ 200 0 } "
        "GradientStopCollection{ noOfGradientStops 2 GradientStop{ 0 Color{ $r 0 0 1 } } "
        "GradientStop{ 1 Color{ $r 0 0 1 } } extendMode 0 } opacity $o }\n";
    d.executables = "noOfExecutables 1\ndraw Fill{ box g }\n";
    d.animations =
        "noOfAnimations 1\nMainAnim Animation{ renderFunction draw controller null "
        "transitionTarget null }\n";
    auto doc = LoadOnTarget(d.Text());
    ASSERT_TRUE(doc);
    doc->WriteVariable("$r", 1);
    doc->WriteVariable("$o", 1);
    Frame(*doc, 0);
    EXPECT_TRUE(IsRed(100, 100));
    doc->WriteVariable("$r", 0);  // stops were built with 1: still red
    doc->WriteVariable("$o", 0.5f);
    Frame(*doc, 16);
    const auto p = At(100, 100);
    EXPECT_NEAR(p.r, 255, 2);
    EXPECT_NEAR(p.g, 128, 3);  // half red over white
}

}  // namespace
