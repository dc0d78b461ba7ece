#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TextTestSupport.h"

using namespace Gfx;
using TextTest::CentredFormat;
using TextTest::LayOut;
using TextTest::RecordingRenderer;

namespace {

Result MakeFormat(const std::string& family, float size, std::shared_ptr<TextFormat>* out,
                  int weight = kFontWeightNormal, int stretch = kFontStretchNormal) {
    return TextFormat::Create(family, weight, FontStyle::Normal, stretch, size, "en-us", out);
}

}  // namespace

TEST(TextFormat, RejectsEmSizesOutsideTheUsableRange) {
    const float inf = std::numeric_limits<float>::infinity();
    for (float size : {0.0f, -1.0f, 4096.5f, inf, -inf, std::nanf("")}) {
        std::shared_ptr<TextFormat> format;
        EXPECT_EQ(kInvalidArg, MakeFormat("Arial", size, &format)) << size;
        EXPECT_FALSE(format);
    }
    std::shared_ptr<TextFormat> format;
    EXPECT_EQ(kOk, MakeFormat("Arial", 4096, &format));
    EXPECT_EQ(kOk, MakeFormat("Arial", 0.01f, &format));
    ASSERT_TRUE(format);
    EXPECT_FLOAT_EQ(0.01f, format->GetEmSize());
}

TEST(TextFormat, RejectsEmptyOrBrokenFamiliesAndOutOfRangeWeightOrStretch) {
    std::shared_ptr<TextFormat> format;
    EXPECT_EQ(kInvalidArg, MakeFormat("", 12, &format));
    EXPECT_EQ(kInvalidArg, MakeFormat("Ari\xC3", 12, &format));
    EXPECT_EQ(kInvalidArg, MakeFormat("Arial", 12, &format, 0));
    EXPECT_EQ(kInvalidArg, MakeFormat("Arial", 12, &format, 1000));
    EXPECT_EQ(kInvalidArg, MakeFormat("Arial", 12, &format, 400, 0));
    EXPECT_EQ(kInvalidArg, MakeFormat("Arial", 12, &format, 400, 10));
    EXPECT_EQ(kInvalidArg, MakeFormat("Arial", 12, nullptr));
}

TEST(TextFormat, KeepsAlignments) {
    std::shared_ptr<TextFormat> format;
    ASSERT_EQ(kOk, MakeFormat("Arial", 12, &format));
    EXPECT_EQ(TextAlignment::Leading, format->GetTextAlignment());
    EXPECT_EQ(ParagraphAlignment::Near, format->GetParagraphAlignment());
    EXPECT_EQ(kOk, format->SetTextAlignment(TextAlignment::Center));
    EXPECT_EQ(kOk, format->SetParagraphAlignment(ParagraphAlignment::Far));
    EXPECT_EQ(kInvalidArg, format->SetTextAlignment(static_cast<TextAlignment>(7)));
    EXPECT_EQ(TextAlignment::Center, format->GetTextAlignment());
    EXPECT_EQ(ParagraphAlignment::Far, format->GetParagraphAlignment());
}

TEST(TextFormat, ArialResolvesToLiberationSans) {
    RecordingRenderer renderer;
    ASSERT_EQ(kOk, LayOut("Hello", *CentredFormat(20, "Arial"), 200, 50, 0, 0, &renderer));
    ASSERT_EQ(1u, renderer.runs.size());
    EXPECT_EQ("Liberation Sans", renderer.runs[0].family);
    EXPECT_FLOAT_EQ(20, renderer.runs[0].emSize);
}

TEST(TextFormat, UnknownFamilyStillDraws) {
    RecordingRenderer renderer;
    ASSERT_EQ(kOk, LayOut("Hi", *CentredFormat(20, "No Such Family"), 200, 50, 0, 0, &renderer));
    ASSERT_EQ(1u, renderer.runs.size());
    EXPECT_FALSE(renderer.runs[0].family.empty());
    EXPECT_FALSE(renderer.runs[0].outline.Empty());
}
