#include "RenderFixture.h"

namespace {

using CommandTest = RenderFixture;

// A document that draws `commands` with the given geometries, brushes and transforms.
std::string Scene(const std::string& geometries, const std::string& transforms,
                  const std::string& commands, int count, const std::string& extra = "") {
    Doc d;
    d.geometries = geometries;
    d.brushes =
        "noOfBrushes 2\nred SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }\n"
        "blue SolidColorBrush{ Color{ 0 0 1 1 } opacity 1 }\n";
    d.transforms = transforms;
    d.executables = extra + "noOfExecutables 1\ndraw Procedure{ noOfCommands " +
                    std::to_string(count) + " " + commands + " }\n";
    d.animations =
        "noOfAnimations 1\nMainAnim Animation{ renderFunction draw controller null "
        "transitionTarget null }\n";
    return d.Text();
}

const char* kSquare = "noOfGeometries 1\nsq Rectangle{ x 0 y 0 w 20 h 10 hitTest 1 }\n";

TEST_F(CommandTest, PushAppliesTheNewTransformFirstAndPopRestores) {
    // Rotate by 90 degrees, then move by (100, 50): the 20x10 box lands at x 90..100, y 50..70.
    auto doc = LoadOnTarget(Scene(kSquare,
                                  "noOfTransforms 2\nmove Translation{ x 100 y 50 }\n"
                                  "turn Rotation{ t 90 }\n",
                                  "PushTransform{ move } PushTransform{ turn } Fill{ sq red } "
                                  "PopTransform{ } PopTransform{ } Fill{ sq blue }",
                                  6));
    ASSERT_TRUE(doc);
    EXPECT_EQ(Frame(*doc, 0), ZEL::kSuccess);
    EXPECT_TRUE(IsRed(95, 60));
    EXPECT_TRUE(IsWhite(105, 60));
    EXPECT_TRUE(IsWhite(95, 45));
    EXPECT_EQ(At(10, 5).b, 255);  // the pops restored the identity
}

TEST_F(CommandTest, ScaleAndPolarTranslationPlaceShapes) {
    auto doc = LoadOnTarget(Scene(kSquare,
                                  "noOfTransforms 2\ngrow Scale{ x 2 y 3 }\n"
                                  "polar PolarTranslation{ r 100 t 1.5707964 }\n",
                                  "PushTransform{ polar } PushTransform{ grow } Fill{ sq red } "
                                  "PopTransform{ } PopTransform{ }",
                                  5));
    ASSERT_TRUE(doc);
    Frame(*doc, 0);
    // Scaled to 40x30, moved down by 100.
    EXPECT_TRUE(IsRed(38, 128));
    EXPECT_TRUE(IsWhite(42, 128));
    EXPECT_TRUE(IsWhite(38, 98));
}

TEST_F(CommandTest, PopAtTheBaseAbortsTheFrame) {
    auto doc = LoadOnTarget(Scene(kSquare, "noOfTransforms 0\n", "PopTransform{ }", 1));
    ASSERT_TRUE(doc);
    EXPECT_EQ(Frame(*doc, 0), ZEL::kRuntimeError);
    EXPECT_EQ(doc->GetErrorText(),
              "Scenimator Runtime Blocking Error:::trying to run PopTransform while transform "
              "stack is empty");
}

TEST_F(CommandTest, StrokesAreCentredOnTheOutline) {
    auto doc =
        LoadOnTarget(Scene("noOfGeometries 1\nb Rectangle{ x 50 y 50 w 100 h 100 hitTest 0 }\n",
                           "noOfTransforms 0\n", "Stroke{ b red 10 }", 1));
    ASSERT_TRUE(doc);
    Frame(*doc, 0);
    EXPECT_TRUE(IsRed(46, 100));
    EXPECT_TRUE(IsRed(53, 100));
    EXPECT_TRUE(IsWhite(43, 100));
    EXPECT_TRUE(IsWhite(57, 100));
}

TEST_F(CommandTest, HitTestsUseTheCapturedTransformAndTheCombinedShape) {
    const std::string shapes =
        "noOfGeometries 3\n"
        "a Rectangle{ x 0 y 0 w 40 h 40 hitTest 0 }\n"
        "b Ellipse{ center Point{ 40 40 } radiusX 20 radiusY 20 hitTest 0 }\n"
        "cut Combined{ geometry1 a geometry2 b mode Exclude hitTest 1 }\n";
    auto doc =
        LoadOnTarget(Scene(shapes, "noOfTransforms 1\nmove Translation{ x 100 y 100 }\n",
                           "PushTransform{ move } CaptureHitTestTransform{ } Fill{ cut red } "
                           "PopTransform{ }",
                           4));
    ASSERT_TRUE(doc);
    bool hit = true;
    // Before any capture the identity is used.
    EXPECT_EQ(doc->HitTest(10, 10, &hit), ZEL::kSuccess);
    EXPECT_TRUE(hit);
    Frame(*doc, 0);
    doc->HitTest(110, 110, &hit);
    EXPECT_TRUE(hit);
    doc->HitTest(135, 135, &hit);  // inside a, but cut away by b
    EXPECT_FALSE(hit);
    doc->HitTest(10, 10, &hit);
    EXPECT_FALSE(hit);
    EXPECT_TRUE(IsRed(110, 110));
    EXPECT_TRUE(IsWhite(135, 135));
}

TEST_F(CommandTest, OnlyDegenerateStaticShapesGetAMaskAndTheRestIsStoredEmpty) {
    const std::string shapes =
        "noOfGeometries 2\nbig Rectangle{ x 10 y 10 w 100 h 20 hitTest 0 }\n"
        "dot Rectangle{ x 150 y 150 w 0 h 0 hitTest 0 }\n";
    auto doc = LoadOnTarget(Scene(shapes, "noOfTransforms 0\n",
                                  "Fill{ big red } Fill{ dot red } Stroke{ big blue 1.5 }", 3));
    ASSERT_TRUE(doc);
    Frame(*doc, 0);
    Frame(*doc, 16);
    EXPECT_TRUE(IsRed(50, 20));
    const uint64_t scope = doc->Serial();
    ASSERT_TRUE(m_Factory.FindMask(scope, "dot_fill"));
    EXPECT_TRUE(m_Factory.FindMask(scope, "dot_fill")->mask);
    EXPECT_FALSE(m_Factory.FindMask(scope, "big_fill"));
    EXPECT_FALSE(m_Factory.FindMask(scope, "big_stroke_1.5"));
    EXPECT_TRUE(IsWhite(150, 150));  // a mask of no area paints nothing
    doc.reset();                     // its masks go with it
    EXPECT_FALSE(m_Factory.FindMask(scope, "dot_fill"));
}

// A name is a geometry of one document: a parent's degenerate "dot" must not replace the
// child's own, whichever is drawn first.
TEST_F(CommandTest, MasksAreSharedWithinOneDocumentOnly) {
    for (const bool parentFirst : {true, false}) {
        SCOPED_TRACE(parentFirst ? "parent draws first" : "child draws first");
        Doc kid;
        kid.geometries = "noOfGeometries 1\ndot Rectangle{ x 50 y 50 w 100 h 100 hitTest 0 }\n";
        kid.brushes = "noOfBrushes 1\nred SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }\n";
        kid.executables = "noOfExecutables 1\ndraw Procedure{ noOfCommands 1 Fill{ dot red } }\n";
        kid.controllers =
            "noOfControllers 1\nc Const{ target null begin 0 end 10 loops 0 value 0 "
            "noOfChildren 0 }\n";
        kid.animations =
            "noOfAnimations 1\nMainAnim Animation{ renderFunction draw controller c "
            "transitionTarget MainAnim }\n";
        Write("kid.scn", kid.Text());
        const std::string parentDot = "Fill{ dot blue }";
        const std::string commands =
            parentFirst ? parentDot + " RenderZel{ kid }" : "RenderZel{ kid } " + parentDot;
        std::string text = Scene("noOfGeometries 1\ndot Rectangle{ x 10 y 10 w 0 h 0 hitTest 0 }\n",
                                 "noOfTransforms 0\n", commands, 2);
        text.replace(text.find("noOfChildZels 0"), 15,
                     "noOfChildZels 1\nkid Scenimator{ kid.scn noOfArgs 0 }");
        auto doc = LoadOnTarget(text);
        ASSERT_TRUE(doc);
        Frame(*doc, 0);
        Frame(*doc, 16);
        EXPECT_TRUE(IsRed(100, 100));
    }
}

TEST_F(CommandTest, ChildDocumentsDrawUnderTheParentsTransformAndTakeItsValues) {
    Doc kid;
    kid.geometries = "noOfGeometries 1\nbox Rectangle{ x 0 y 0 w $size h $size hitTest 0 }\n";
    kid.brushes = "noOfBrushes 1\nink SolidColorBrush{ Color{ 0 0 1 1 } opacity 1 }\n";
    kid.transforms = "noOfTransforms 1\naway Translation{ x 1000 y 0 }\n";
    // Leaves a push unbalanced: the parent must not inherit it.
    kid.executables =
        "noOfExecutables 1\ndraw Procedure{ noOfCommands 2 Fill{ box ink } PushTransform{ away } "
        "}\n";
    kid.animations =
        "noOfAnimations 1\nMainAnim Animation{ renderFunction draw controller null "
        "transitionTarget null }\n";
    Write("kid.scn", kid.Text());
    Doc d;
    d.geometries = "noOfGeometries 1\nmark Rectangle{ x 0 y 100 w 10 h 10 hitTest 0 }\n";
    d.brushes = "noOfBrushes 1\nred SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }\n";
    d.transforms = "noOfTransforms 1\nmove Translation{ x 50 y 50 }\n";
    d.children = "noOfChildZels 1\nkid Scenimator{ kid.scn noOfArgs 1 $size 10 }\n";
    d.executables =
        "noOfExecutables 1\ndraw Procedure{ noOfCommands 5 SetZelVar{ kid $size $s } "
        "PushTransform{ move } RenderZel{ kid } Fill{ mark red } PopTransform{ } }\n";
    d.controllers =
        "noOfControllers 1\ns Const{ target $s begin 0 end 100000 loops 0 value 30 noOfChildren 0 "
        "}\n";
    d.animations =
        "noOfAnimations 1\nMainAnim Animation{ renderFunction draw controller s "
        "transitionTarget null }\n";
    auto doc = LoadOnTarget(d.Text());
    ASSERT_TRUE(doc);
    EXPECT_EQ(Frame(*doc, 10), ZEL::kSuccess);
    EXPECT_EQ(At(75, 75).b, 255);
    EXPECT_EQ(At(75, 75).r, 0);  // 30x30 from the parent's value, at (50, 50)
    EXPECT_TRUE(IsWhite(85, 85));
    EXPECT_TRUE(IsRed(55, 155));  // under the parent's transform, not the child's leftover
}

}  // namespace
