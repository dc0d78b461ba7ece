#include <cmath>
#include <limits>
#include <map>

#include "RenderFixture.h"

namespace {

// One element of every kind, drawn before a sentinel square; every numeric field is named
// @field so that one of them at a time can be bound to the hostile variable $v.
const char* kTemplate = R"(Scenimator{
noOfGeometries 7
rect Rectangle{ x @rx y @ry w @rw h @rh hitTest 1 }
disc Ellipse{ center Point{ @ecx @ecy } radiusX @erx radiusY @ery hitTest 1 }
path Path{ noOfFigures 1 Figure{ startPoint Point{ @psx @psy } closed 1 noOfSegments 2 Line{ to Point{ @plx @ply } } Bezier{ p1 Point{ @p1x @p1y } p2 Point{ @p2x @p2y } p3 Point{ @p3x @p3y } } } hitTest 1 }
cut Combined{ geometry1 rect geometry2 disc mode Xor hitTest 1 }
word Text{ text Zel font Arial size @tsize x @tx y @ty w @tw h @th hitTest 1 }
sentinel Rectangle{ x 180 y 180 w 10 h 10 hitTest 0 }
star Source{ star.geo hitTest 1 }
noOfBrushes 4
solid SolidColorBrush{ Color{ @cr @cg @cb @ca } opacity @so }
linear LinearGradientBrush{ start Point{ @lsx @lsy } end Point{ @lex @ley } GradientStopCollection{ noOfGradientStops 2 GradientStop{ @gp0 Color{ @gr 0 0 1 } } GradientStop{ 1 Color{ 0 0 1 @ga } } extendMode 1 } opacity @lo }
radial RadialGradientBrush{ center Point{ @qcx @qcy } originOffset Point{ @qox @qoy } radiusX @qrx radiusY @qry GradientStopCollection{ noOfGradientStops 2 GradientStop{ 0 Color{ 1 1 0 1 } } GradientStop{ 1 Color{ 0 0 1 1 } } extendMode 2 } opacity 1 }
red SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }
noOfImages 1
pic BitmapFromFile{ pic.png }
noOfTransforms 4
move Translation{ x @mx y @my }
polar PolarTranslation{ r @pr t @pt }
turn Rotation{ t @rt }
grow Scale{ x @sx y @sy }
noOfChildZels 0
noOfExecutables 1
draw Procedure{ noOfCommands 18 PushTransform{ move } PushTransform{ polar } PushTransform{ turn } PushTransform{ grow } Fill{ rect solid } Fill{ disc linear } Fill{ path radial } Fill{ cut solid } Fill{ word linear } Fill{ star radial } Stroke{ path solid @sw } Stroke{ word radial @sw } DrawImage{ source pic destRect Rect{ @dl @dt @dr @db } opacity @io srcRect Rect{ @sl @st @sr @sb } } PopTransform{ } PopTransform{ } PopTransform{ } PopTransform{ } Fill{ sentinel red } }
noOfControllers 0
noOfAnimations 1
MainAnim Animation{ renderFunction draw controller null transitionTarget null }
}
)";

// Ordinary values for every field.
const std::map<std::string, std::string> kDefaults = {
    {"rx", "10"},    {"ry", "10"},  {"rw", "50"},  {"rh", "40"},  {"ecx", "60"}, {"ecy", "60"},
    {"erx", "30"},   {"ery", "20"}, {"psx", "0"},  {"psy", "0"},  {"plx", "50"}, {"ply", "0"},
    {"p1x", "60"},   {"p1y", "40"}, {"p2x", "20"}, {"p2y", "60"}, {"p3x", "0"},  {"p3y", "0"},
    {"tsize", "30"}, {"tx", "0"},   {"ty", "100"}, {"tw", "150"}, {"th", "50"},  {"cr", "0"},
    {"cg", "1"},     {"cb", "0"},   {"ca", "1"},   {"so", "1"},   {"lsx", "0"},  {"lsy", "0"},
    {"lex", "100"},  {"ley", "0"},  {"gp0", "0"},  {"gr", "1"},   {"ga", "1"},   {"lo", "1"},
    {"qcx", "50"},   {"qcy", "50"}, {"qox", "5"},  {"qoy", "5"},  {"qrx", "40"}, {"qry", "30"},
    {"mx", "5"},     {"my", "5"},   {"pr", "3"},   {"pt", "0.5"}, {"rt", "10"},  {"sx", "1"},
    {"sy", "1"},     {"sw", "2"},   {"dl", "100"}, {"dt", "0"},   {"dr", "140"}, {"db", "40"},
    {"io", "0.8"},   {"sl", "0"},   {"st", "0"},   {"sr", "8"},   {"sb", "8"},
};

// Replaces each @field token (up to the next blank) by its value, or by $v for the hostile one.
std::string Document(const std::string& hostile) {
    const std::string source = kTemplate;
    std::string text;
    for (size_t i = 0; i < source.size();) {
        if (source[i] != '@') {
            text += source[i++];
            continue;
        }
        const size_t end = source.find_first_of(" \n", i);
        const std::string field = source.substr(i + 1, end - i - 1);
        text += field == hostile ? "$v" : kDefaults.at(field);
        i = end;
    }
    return text;
}

class HostileNumberTest : public RenderFixture {
  protected:
    void SetUp() override {
        RenderFixture::SetUp();
        std::shared_ptr<Gfx::RenderTarget> image;
        ASSERT_EQ(Gfx::RenderTarget::Create(8, 8, 96, &image), Gfx::kOk);
        image->BeginDraw();
        image->Clear(Gfx::ColorF{0, 0.5f, 1, 0.5f});
        image->EndDraw();
        ASSERT_EQ(image->WritePng((m_Dir / "pic.png").string()), Gfx::kOk);
        Write("star.geo",
              "Path{ noOfFigures 1 Figure{ startPoint Point{ @psx 0 } closed 1 noOfSegments 1 "
              "Line{ to Point{ 20 20 } } } hitTest 0 }");
    }
};

TEST_F(HostileNumberTest, NoFieldCanBlankTheRestOfTheFrame) {
    const float kHostile[] = {std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              3.0e38f,
                              -3.0e38f,
                              2e7f,
                              0};
    EXPECT_NE(Document("rx").find("x $v"), std::string::npos);
    for (const auto& field : kDefaults) {
        std::string text = Document(field.first);
        // The source file's own field is tested through its start point.
        if (field.first == "psx") {
            Write("star.geo",
                  "Path{ noOfFigures 1 Figure{ startPoint Point{ $v 0 } closed 1 noOfSegments 1 "
                  "Line{ to Point{ 20 20 } } } hitTest 0 }");
        }
        for (float hostile : kHostile) {
            auto doc = LoadOnTarget(text);
            ASSERT_TRUE(doc) << field.first << ": " << Error();
            doc->WriteVariable("$v", hostile);
            EXPECT_EQ(Frame(*doc, 0), ZEL::kSuccess)
                << field.first << "=" << hostile << ": " << doc->GetErrorText();
            EXPECT_TRUE(IsRed(185, 185)) << field.first << "=" << hostile;
            bool hit = false;
            EXPECT_EQ(doc->HitTest(20, 20, &hit), ZEL::kSuccess) << field.first;
        }
        Write("star.geo",
              "Path{ noOfFigures 1 Figure{ startPoint Point{ 0 0 } closed 1 noOfSegments 1 "
              "Line{ to Point{ 20 20 } } } hitTest 0 }");
    }
}

TEST_F(HostileNumberTest, HugeLiteralsSaturateAndAZeroLengthLinearDoesNotStopTheShow) {
    Doc d;
    d.geometries = "noOfGeometries 1\nr Rectangle{ x $x y $y w 1e39 h -1e39 hitTest 0 }\n";
    d.controllers =
        "noOfControllers 1\nc Addition{ target $x begin 0 end 1000 loops 1 noOfChildren 2 "
        "Linear{ target null begin 5 end 5 loops 0 beginValue 0 endValue 1 noOfChildren 0 } "
        "Const{ target $y begin 0 end 1000 loops 1 value 1e39 noOfChildren 0 } }\n";
    d.animations =
        "noOfAnimations 1\nMainAnim Animation{ renderFunction null controller c transitionTarget "
        "null }\n";
    auto doc = LoadOnTarget(d.Text());
    ASSERT_TRUE(doc);
    EXPECT_EQ(Frame(*doc, 5), ZEL::kSuccess);
    EXPECT_FLOAT_EQ(Var(*doc, "$y"), std::numeric_limits<float>::max());
    EXPECT_FALSE(std::isfinite(Var(*doc, "$x")));  // the sum holds 0 / 0
    EXPECT_EQ(Frame(*doc, 500), ZEL::kSuccess);
    EXPECT_FALSE(std::isfinite(Var(*doc, "$x")));
}

}  // namespace
