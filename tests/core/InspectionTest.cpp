// What a viewer reads from a load and a document besides variables: the files a load
// named, the current animation, and the hit-test geometries one by one.
#include <algorithm>

#include "RenderFixture.h"

namespace {

using LoadFilesTest = DocumentFixture;
using ListHitTestTest = RenderFixture;

std::vector<std::string> Files(const ZEL::Factory& factory) {
    return factory.LastLoadFiles();
}

TEST_F(LoadFilesTest, ListsDocumentChildrenSourcesAndImagesOnceEach) {
    Doc kid;
    kid.geometries = "noOfGeometries 1\ng Source{ shapes/kid.geo hitTest 0 }\n";
    Write("kids/kid.scn", kid.Text());
    Write("shapes/kid.geo", "Rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }");
    Doc parent;
    // Written with backslashes, loaded twice, an image never drawn: each once, as opened.
    parent.images = "noOfImages 1\npic BitmapFromFile{ img\\never.png }\n";
    parent.children =
        "noOfChildZels 2\na Scenimator{ kids\\kid.scn noOfArgs 0 }\n"
        "b Scenimator{ kids/kid.scn noOfArgs 0 }\n";
    ASSERT_TRUE(LoadText(parent.Text())) << Error();
    EXPECT_EQ(Files(m_Factory), (std::vector<std::string>{"doc.scn", "img/never.png",
                                                          "kids/kid.scn", "shapes/kid.geo"}));
}

TEST_F(LoadFilesTest, AFailedLoadNamesTheFileItCouldNotOpen) {
    Doc parent;
    parent.children = "noOfChildZels 1\na Scenimator{ later.scn noOfArgs 0 }\n";
    EXPECT_FALSE(LoadText(parent.Text()));
    EXPECT_EQ(Files(m_Factory), (std::vector<std::string>{"doc.scn", "later.scn"}));
}

TEST_F(LoadFilesTest, EachTopLevelLoadStartsAFreshList) {
    Doc kid;
    Write("kid.scn", kid.Text());
    Doc parent;
    parent.children = "noOfChildZels 1\na Scenimator{ kid.scn noOfArgs 0 }\n";
    Write("parent.scn", parent.Text());
    ASSERT_TRUE(Load("parent.scn"));
    ASSERT_TRUE(Load("kid.scn"));
    EXPECT_EQ(Files(m_Factory), std::vector<std::string>{"kid.scn"});
}

TEST_F(LoadFilesTest, CurrentAnimationFollowsHandOvers) {
    Doc d;
    d.geometries = "noOfGeometries 1\nv Rectangle{ x $x y 0 w 0 h 0 hitTest 0 }\n";
    d.controllers =
        "noOfControllers 1\n"
        "once Linear{ target $x begin 0 end 100 loops 0 beginValue 0 endValue 1 noOfChildren 0 }\n";
    d.animations =
        "noOfAnimations 2\n"
        "MainAnim Animation{ renderFunction null controller once transitionTarget next }\n"
        "next Animation{ renderFunction null controller null transitionTarget null }\n";
    auto doc = LoadText(d.Text());
    ASSERT_TRUE(doc) << Error();
    EXPECT_EQ(doc->CurrentAnimation(), "MainAnim");
    doc->Update(99);
    EXPECT_EQ(doc->CurrentAnimation(), "MainAnim");
    doc->Update(100);
    EXPECT_EQ(doc->CurrentAnimation(), "next");
}

// A marked square moved by (100, 50) with the hit-test transform captured there, a marked
// disc left in document space, and an unmarked square.
std::string Shapes() {
    Doc d;
    d.geometries =
        "noOfGeometries 3\n"
        "box Rectangle{ x 0 y 0 w 20 h 10 hitTest 1 }\n"
        "dot Ellipse{ center Point{ 10 5 } radiusX 3 radiusY 3 hitTest 1 }\n"
        "plain Rectangle{ x 0 y 0 w 20 h 10 hitTest 0 }\n";
    d.brushes = "noOfBrushes 1\nred SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }\n";
    d.transforms = "noOfTransforms 1\nmove Translation{ x 100 y 50 }\n";
    d.executables =
        "noOfExecutables 1\ndraw Procedure{ noOfCommands 4 PushTransform{ move } "
        "CaptureHitTestTransform{ } Fill{ box red } PopTransform{ } }\n";
    d.animations =
        "noOfAnimations 1\nMainAnim Animation{ renderFunction draw controller null "
        "transitionTarget null }\n";
    return d.Text();
}

TEST_F(ListHitTestTest, MarkedGeometriesUnderTheCapturedTransformAgreeWithHitTest) {
    auto doc = LoadOnTarget(Shapes());
    ASSERT_TRUE(doc);
    Frame(*doc, 0);
    std::vector<ZEL::HitTestShape> shapes;
    ASSERT_EQ(doc->ListHitTestShapes(101, 51, &shapes), ZEL::kSuccess);
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0].name, "box");
    EXPECT_FLOAT_EQ(shapes[0].bounds.left, 100);
    EXPECT_FLOAT_EQ(shapes[0].bounds.top, 50);
    EXPECT_FLOAT_EQ(shapes[0].bounds.right, 120);
    EXPECT_FLOAT_EQ(shapes[0].bounds.bottom, 60);
    EXPECT_TRUE(shapes[0].contains);
    EXPECT_EQ(shapes[1].name, "dot");
    EXPECT_NEAR(shapes[1].bounds.left, 107, 0.01);
    EXPECT_NEAR(shapes[1].bounds.bottom, 58, 0.01);
    EXPECT_FALSE(shapes[1].contains);
    // The centre of the disc: both inside, as the document's own test says.
    ASSERT_EQ(doc->ListHitTestShapes(110, 55, &shapes), ZEL::kSuccess);
    EXPECT_TRUE(shapes[0].contains && shapes[1].contains);
    bool hit = false;
    doc->HitTest(110, 55, &hit);
    EXPECT_TRUE(hit);
    ASSERT_EQ(doc->ListHitTestShapes(10, 5, &shapes), ZEL::kSuccess);
    EXPECT_FALSE(shapes[0].contains || shapes[1].contains);
}

TEST_F(ListHitTestTest, ShapesThatReadVariablesAreBuiltWithTheCurrentValues) {
    Doc d;
    d.geometries = "noOfGeometries 1\ngrow Rectangle{ x 0 y 0 w $w h 10 hitTest 1 }\n";
    d.controllers =
        "noOfControllers 1\n"
        "widen Linear{ target $w begin 0 end 1000 loops 1 beginValue 0 endValue 100 "
        "noOfChildren 0 }\n";
    d.animations =
        "noOfAnimations 1\nMainAnim Animation{ renderFunction null controller widen "
        "transitionTarget MainAnim }\n";
    auto doc = LoadOnTarget(d.Text());
    ASSERT_TRUE(doc);
    std::vector<ZEL::HitTestShape> shapes;
    doc->Update(250);
    doc->ListHitTestShapes(0, 0, &shapes);
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_FLOAT_EQ(shapes[0].bounds.right, 25);
    doc->Update(500);
    doc->ListHitTestShapes(0, 0, &shapes);
    EXPECT_FLOAT_EQ(shapes[0].bounds.right, 50);
}

}  // namespace
