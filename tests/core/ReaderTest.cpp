#include "DocumentFixture.h"

namespace {

using ReaderTest = DocumentFixture;

TEST_F(ReaderTest, EmptyDocumentLoadsAndLacksMainAnim) {
    auto doc = LoadText(Doc().Text());
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->Update(0), ZEL::kNotFound);
    EXPECT_EQ(doc->GetErrorText(), "MainAnim animation does not exist");
}

TEST_F(ReaderTest, MissingFileNamesThePathAtLineZero) {
    EXPECT_FALSE(Load("data\\vortel\\postprocess.scn"));
    EXPECT_EQ(m_LastCode, ZEL::kLogicError);
    EXPECT_EQ(Error(),
              "Parse Error::: : 0 : could not open the file \"data\\vortel\\postprocess.scn\"");
}

TEST_F(ReaderTest, BackslashPathsOpenOnThisPlatform) {
    Write("data/vortel/show.scn", Doc().Text());
    EXPECT_TRUE(Load("data\\vortel\\show.scn"));
}

TEST_F(ReaderTest, ExpectingMessagesCarryFileAndLine) {
    // A missing final brace is reported one line past the end with an empty token.
    std::string text = Doc().Text();
    text.erase(text.rfind('}'));
    EXPECT_FALSE(LoadText(text));
    EXPECT_EQ(Error(), "Parse Error:::doc.scn : 10 : expecting \"}\" got \"\"");

    // A missing label names the token found instead.
    Doc d;
    d.images = "";
    EXPECT_FALSE(LoadText(d.Text()));
    EXPECT_EQ(Error(),
              "Parse Error:::doc.scn : 4 : expecting \"noOfImages\" got \"noOfTransforms\"");

    // A byte-order mark glues onto the first token.
    EXPECT_FALSE(LoadText("\xEF\xBB\xBF" + Doc().Text()));
    EXPECT_EQ(
        Error(),
        "Parse Error:::doc.scn : 1 : expecting \"Scenimator{\" got \"\xEF\xBB\xBFScenimator{\"");
}

TEST_F(ReaderTest, DuplicateNameReportedAtClosingBraceOfSecondDefinition) {
    Doc d;
    d.geometries =
        "noOfGeometries 2\nbox Rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }\nbox Rectangle{ x 0 y 0\n"
        "w 1 h 1 hitTest 0\n}\n";
    d.brushes = "noOfBrushes 1\nbox SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }\n";
    EXPECT_FALSE(LoadText(d.Text()));
    EXPECT_EQ(Error(), "Parse Error:::doc.scn : 6 : box was defined as a geometry before");

    // The same name in two sections is fine.
    d.geometries = "noOfGeometries 1\nbox Rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }\n";
    EXPECT_TRUE(LoadText(d.Text()));
}

TEST_F(ReaderTest, KeywordsAreExactTokens) {
    Doc d;
    d.geometries = "noOfGeometries 1\nbox Rectangle { x 0 y 0 w 1 h 1 hitTest 0 }\n";
    EXPECT_FALSE(LoadText(d.Text()));
    EXPECT_EQ(Error(), "Parse Error:::doc.scn : 3 : Unknown geometry type \"Rectangle\"");

    d.geometries =
        "noOfGeometries 1\nd Ellipse{ center point{ 0 0 } radiusX 1 radiusY 1 hitTest 0 }\n";
    EXPECT_FALSE(LoadText(d.Text()));
    EXPECT_EQ(Error(), "Parse Error:::doc.scn : 3 : expecting \"Point{\" got \"point{\"");
}

TEST_F(ReaderTest, NumbersStopAtTheFirstCharacterThatCannotContinueThem) {
    // An integer leaves the brace behind; a count line with junk drops the rest of the line.
    Doc d;
    d.geometries = "noOfGeometries junk words\n1\nr Rectangle{ x 0 y 0 w 2 h 1 hitTest 1}\n";
    auto doc = LoadText(d.Text());
    ASSERT_TRUE(doc) << Error();
    EXPECT_TRUE(doc->FindGeometry("r")->m_HitTest);

    // A value swallows its brace whole.
    d.geometries =
        "noOfGeometries 1\nd Ellipse{ center Point{ 1 2} radiusX 1 radiusY 1 hitTest 0 }\n";
    EXPECT_FALSE(LoadText(d.Text()));
    EXPECT_EQ(Error(), "Parse Error:::doc.scn : 3 : expecting \"}\" got \"radiusX\"");
}

TEST_F(ReaderTest, NegativeCountsReadNothingAndNoFinalNewlineIsNeeded) {
    Doc d;
    d.geometries = "noOfGeometries -1\n";
    std::string text = d.Text();
    text.pop_back();
    EXPECT_TRUE(LoadText(text)) << Error();
}

TEST_F(ReaderTest, VariablesMarkTheResourcesThatReadThem) {
    Doc d;
    d.geometries =
        "noOfGeometries 4\n"
        "a Rectangle{ x 0 y 0 w $w h 1 hitTest 0 }\n"
        "b Rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }\n"
        "c Combined{ geometry1 b geometry2 b mode Union hitTest 0 }\n"
        "e Combined{ geometry1 a geometry2 b mode Xor hitTest 0 }\n";
    d.brushes =
        "noOfBrushes 2\n"
        "s SolidColorBrush{ Color{ 1 0 0 1 } opacity $o }\n"
        "g LinearGradientBrush{ start Point{ 0 0 } end Point{ 1 0 } GradientStopCollection{ "
        "noOfGradientStops 2 GradientStop{ $p Color{ 0 0 0 1 } } GradientStop{ 1 Color{ 1 1 1 1 } "
        "} "
        "extendMode 0 } opacity 1 }\n";
    auto doc = LoadText(d.Text());
    ASSERT_TRUE(doc) << Error();
    EXPECT_TRUE(doc->FindGeometry("a")->dependsOnVariables);
    EXPECT_FALSE(doc->FindGeometry("b")->dependsOnVariables);
    EXPECT_FALSE(doc->FindGeometry("c")->dependsOnVariables);
    EXPECT_TRUE(doc->FindGeometry("e")->dependsOnVariables);
    EXPECT_TRUE(doc->FindBrush("s")->dependsOnVariables);
    EXPECT_TRUE(doc->FindBrush("g")->dependsOnVariables);
    EXPECT_FLOAT_EQ(Var(*doc, "$w"), 0.0f);
}

TEST_F(ReaderTest, SectionMessagesNameTheOffendingToken) {
    struct Case {
        std::string Doc::*section;
        std::string text;
        std::string message;
    };
    const std::string box = "noOfGeometries 1\nbox Rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }\n";
    const Case cases[] = {
        {&Doc::geometries,
         "noOfGeometries 1\nc Combined{ geometry1 x geometry2 y mode union hitTest 0 }\n",
         "Unknown combine mode \"union\""},
        {&Doc::geometries,
         "noOfGeometries 1\nc Combined{ geometry1 x geometry2 y mode Union hitTest 0 }\n",
         "a geometry with name \"x\" does not exist"},
        {&Doc::geometries,
         "noOfGeometries 1\np Path{ noOfFigures 1 Figure{ startPoint Point{ 0 0 } closed 1 "
         "noOfSegments 1 Arc{ } } hitTest 0 }\n",
         "Unknown segment type \"Arc{\""},
        {&Doc::brushes, "noOfBrushes 1\nb Brush{ opacity 1 }\n", "Unknown brush type \"Brush{\""},
        {&Doc::images, "noOfImages 1\ni Bitmap{ x.png }\n", "Unknown bitmap type \"Bitmap{\""},
        {&Doc::transforms, "noOfTransforms 1\nt Translatio{ x 1 y 2 }\n",
         "Unknown transform type \"Translatio{\""},
        {&Doc::transforms, "noOfTransforms 1\nt Rotation{ r 1 }\n", "expecting \"t\" got \"r\""},
        {&Doc::executables, "noOfExecutables 1\ne Fill{ nobox nobrush }\n",
         "a geometry with name \"nobox\" does not exist"},
        {&Doc::executables, "noOfExecutables 1\ne Draw{ }\n", "Unknown executable type \"Draw{\""},
        {&Doc::executables, "noOfExecutables 1\ne Call{ later }\n",
         "an executable with name \"later\" does not exist"},
        {&Doc::executables, "noOfExecutables 1\ne PopTransform{ PopTransform{ }\n",
         "expecting \"}\" got \"PopTransform{\""},
        {&Doc::controllers,
         "noOfControllers 1\nc Const{ target $x begin 0 end 1 loops 0 value 1 }\n",
         "expecting \"noOfChildren\" got \"}\""},
        {&Doc::controllers, "noOfControllers 1\nc Trigger{ target $x }\n",
         "expecting \"begin\" got \"target\""},
        {&Doc::controllers, "noOfControllers 1\nc Ramp{ }\n", "Unknown controller type \"Ramp{\""},
        {&Doc::controllers,
         "noOfControllers 1\nc Trigger{ begin 0 targetZel kid targetAnimation MainAnim "
         "noOfChildren 0 }\n",
         "a child zel with name \"kid\" does not exist"},
        {&Doc::animations,
         "noOfAnimations 1\nMainAnim Animation{ renderFunction draw controller null "
         "transitionTarget null }\n",
         "an executable with name \"draw\" does not exist"},
        {&Doc::animations,
         "noOfAnimations 1\nMainAnim Animation{ renderFunction null controller c transitionTarget "
         "null }\n",
         "a controller with name \"c\" does not exist"},
    };
    for (const auto& c : cases) {
        Doc d;
        d.*c.section = c.text;
        EXPECT_FALSE(LoadText(d.Text()));
        const std::string tail = " : " + c.message;
        EXPECT_EQ(Error().substr(Error().size() - std::min(Error().size(), tail.size())), tail)
            << Error();
    }

    // A missing geometry is reported before a missing brush, and Call needs a procedure.
    Doc d;
    d.geometries = box;
    d.executables = "noOfExecutables 1\ne Fill{ box nobrush }\n";
    EXPECT_FALSE(LoadText(d.Text()));
    EXPECT_EQ(Error(), "Parse Error:::doc.scn : 9 : a brush with name \"nobrush\" does not exist");
    d.brushes = "noOfBrushes 1\nred SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }\n";
    d.executables = "noOfExecutables 2\nf Fill{ box red }\nc Call{ f }\n";
    EXPECT_FALSE(LoadText(d.Text()));
    EXPECT_EQ(Error(),
              "Parse Error:::doc.scn : 11 : f is not a procedure, and can not be used with Call");
}

TEST_F(ReaderTest, SourceReadsOneGeometryFromAnotherFileAndComesBack) {
    Write("shapes/disc.geo", "Ellipse{ center Point{ 5 5 }\nradiusX 2 radiusY 2 hitTest 1 } junk");
    Doc d;
    d.geometries = "noOfGeometries 1\ndisc Source{ shapes\\disc.geo hitTest 0 }\n";
    d.brushes = "noOfBrushes 1\nb Brush{ }\n";
    EXPECT_FALSE(LoadText(d.Text()));
    // The outer file's name and line after the inner one is done.
    EXPECT_EQ(Error(), "Parse Error:::doc.scn : 5 : Unknown brush type \"Brush{\"");
    d.brushes = "noOfBrushes 0\n";
    auto doc = LoadText(d.Text());
    ASSERT_TRUE(doc) << Error();
    EXPECT_TRUE(doc->FindGeometry("disc")->m_HitTest);

    Write("bad.geo", "Ellipse{\ncenter Point{ 5 5 } radiusY 2 hitTest 1 }");
    d.geometries = "noOfGeometries 1\ndisc Source{ bad.geo hitTest 0 }\n";
    EXPECT_FALSE(LoadText(d.Text()));
    EXPECT_EQ(Error(), "Parse Error:::bad.geo : 2 : expecting \"radiusX\" got \"radiusY\"");
    d.geometries = "noOfGeometries 1\ndisc Source{ none.geo hitTest 0 }\n";
    EXPECT_FALSE(LoadText(d.Text()));
    EXPECT_EQ(Error(), "Parse Error:::none.geo : 0 : could not open the file \"none.geo\"");
}

}  // namespace
