#include "DocumentFixture.h"

namespace {

using TimelineTest = DocumentFixture;

const char* kRamp =
    "noOfControllers 2\n"
    "up Linear{ target $x begin 0 end 3000 loops 0 beginValue 0 endValue 30 noOfChildren 0 }\n"
    "down Linear{ target $x begin 0 end 1000 loops 1 beginValue 100 endValue 0 noOfChildren 0 }\n";

Doc Scenes(const std::string& transition) {
    Doc d;
    d.geometries = "noOfGeometries 1\nv Rectangle{ x $x y 0 w 0 h 0 hitTest 0 }\n";
    d.controllers = kRamp;
    d.animations =
        "noOfAnimations 2\n"
        "MainAnim Animation{ renderFunction null controller up transitionTarget " +
        transition +
        " }\n"
        "second Animation{ renderFunction null controller down transitionTarget null }\n";
    return d;
}

TEST_F(TimelineTest, HandOverHappensInTheUpdateThatFinishes) {
    auto doc = LoadText(Scenes("second").Text(), 1000);
    ASSERT_TRUE(doc) << Error();
    EXPECT_EQ(doc->Update(3999), ZEL::kSuccess);
    EXPECT_NEAR(Var(*doc, "$x"), 29.99f, 0.001f);
    // The final 30 is written, then "second" starts at 4000 and writes its first value.
    EXPECT_EQ(doc->Update(4000), ZEL::kSuccess);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 100.0f);
    EXPECT_EQ(doc->Update(4500), ZEL::kSuccess);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 50.0f);
}

TEST_F(TimelineTest, NullTransitionIsABlockingError) {
    auto doc = LoadText(Scenes("null").Text());
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->Update(3000), ZEL::kRuntimeError);
    EXPECT_EQ(doc->GetErrorText(),
              "Scenimator Runtime Blocking Error:::MainAnim is not a looping animation but it has "
              "a null transition target");
}

TEST_F(TimelineTest, MissingTransitionTargetKeepsTheFinishedSceneAndRetries) {
    auto doc = LoadText(Scenes("nowhere").Text());
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->Update(3000), ZEL::kSuccess);
    EXPECT_EQ(doc->GetErrorText(), "nowhere animation does not exist");
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 30.0f);
    EXPECT_EQ(doc->Update(5000), ZEL::kSuccess);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 30.0f);
}

TEST_F(TimelineTest, PlayAnimationRestartsAndRejectsUnknownNames) {
    auto doc = LoadText(Scenes("second").Text());
    ASSERT_TRUE(doc);
    doc->Update(1500);
    EXPECT_EQ(doc->PlayAnimation("missing", 1600), ZEL::kNotFound);
    EXPECT_EQ(doc->GetErrorText(), "missing animation does not exist");
    doc->Update(1500);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 15.0f);
    EXPECT_EQ(doc->PlayAnimation("MainAnim", 2000), ZEL::kSuccess);
    doc->Update(2500);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 5.0f);
}

// A parent with one child used twice: arguments, triggers and restarts reach the children.
class ChildDocumentTest : public DocumentFixture {
  protected:
    void SetUp() override {
        DocumentFixture::SetUp();
        Doc kid;
        kid.geometries = "noOfGeometries 1\nv Rectangle{ x $c y $speed w 0 h 0 hitTest 0 }\n";
        kid.controllers =
            "noOfControllers 1\n"
            "count Linear{ target $c begin 0 end 1000 loops 1 beginValue 0 endValue 1000 "
            "noOfChildren 0 }\n";
        kid.animations =
            "noOfAnimations 2\n"
            "MainAnim Animation{ renderFunction null controller null transitionTarget null }\n"
            "run Animation{ renderFunction null controller count transitionTarget null }\n";
        Write("kids/kid.scn", kid.Text());
    }
};

TEST_F(ChildDocumentTest, ArgumentsNeedTheDollarSign) {
    Doc d;
    d.children =
        "noOfChildZels 2\n"
        "a Scenimator{ kids\\kid.scn noOfArgs 1 $speed 3 }\n"
        "b Scenimator{ kids\\kid.scn noOfArgs 1 speed 3 }\n";
    auto doc = LoadText(d.Text());
    ASSERT_TRUE(doc) << Error();
    EXPECT_FLOAT_EQ(Var(*doc->FindChildZel("a"), "$speed"), 3.0f);
    EXPECT_FLOAT_EQ(Var(*doc->FindChildZel("b"), "$speed"), 0.0f);
}

TEST_F(ChildDocumentTest, TriggerPlaysAtTheExactMomentBeforeTheChildIsUpdated) {
    Doc d;
    d.children = "noOfChildZels 1\nkid Scenimator{ kids/kid.scn noOfArgs 0 }\n";
    d.controllers =
        "noOfControllers 1\n"
        "go Const{ target null begin 0 end 100000 loops 0 value 0 noOfChildren 1 "
        "Trigger{ begin 2000 targetZel kid targetAnimation run noOfChildren 0 } }\n";
    d.animations =
        "noOfAnimations 1\nMainAnim Animation{ renderFunction null controller go transitionTarget "
        "MainAnim }\n";
    auto doc = LoadText(d.Text(), 1000);
    ASSERT_TRUE(doc) << Error();
    auto kid = doc->FindChildZel("kid");
    doc->Update(2999);
    EXPECT_FLOAT_EQ(Var(*kid, "$c"), 0.0f);
    // Fired at 3000 (not 3500), then the child is updated to 3500 in the same call.
    doc->Update(3500);
    EXPECT_FLOAT_EQ(Var(*kid, "$c"), 500.0f);
}

TEST_F(ChildDocumentTest, AChildsFailureIsWrappedInTheParentsText) {
    Write("broken.scn", "Scenimator{\nnoOfGeometries 0\n");
    Doc d;
    d.children = "noOfChildZels 1\nkid Scenimator{ broken.scn noOfArgs 0 }\n";
    EXPECT_FALSE(LoadText(d.Text()));
    EXPECT_EQ(Error(),
              "Parse Error:::doc.scn : 7 : Parse Error:::broken.scn : 3 : expecting "
              "\"noOfBrushes\" got \"\"");
}

TEST_F(ChildDocumentTest, SelfReferenceAndDeepNestingStopWithAParseError) {
    Doc self;
    self.children = "noOfChildZels 1\nme Scenimator{ loop.scn noOfArgs 0 }\n";
    Write("loop.scn", self.Text());
    EXPECT_FALSE(Load("loop.scn"));
    EXPECT_EQ(m_LastCode, ZEL::kLogicError);
    EXPECT_EQ(Error(),
              "Parse Error:::loop.scn : 7 : the file \"loop.scn\" is already being read: a "
              "document can not include itself");

    // A chain of 40 distinct files stops at 32 levels.
    for (int i = 0; i < 40; ++i) {
        Doc level;
        level.children =
            "noOfChildZels 1\nnext Scenimator{ l" + std::to_string(i + 1) + ".scn noOfArgs 0 }\n";
        Write("l" + std::to_string(i) + ".scn", level.Text());
    }
    EXPECT_FALSE(Load("l0.scn"));
    EXPECT_NE(Error().find("nested deeper than 32 levels"), std::string::npos) << Error();

    // The same child twice, side by side, is two independent documents.
    Doc twice;
    twice.children =
        "noOfChildZels 2\na Scenimator{ kids/kid.scn noOfArgs 0 }\nb Scenimator{ kids/kid.scn "
        "noOfArgs 0 }\n";
    auto doc = LoadText(twice.Text());
    ASSERT_TRUE(doc) << Error();
    EXPECT_NE(doc->FindChildZel("a"), doc->FindChildZel("b"));
}

TEST_F(ChildDocumentTest, PlayingAnyAnimationRestartsTheChildrensMainAnim) {
    Doc d;
    d.children = "noOfChildZels 1\nkid Scenimator{ kids/kid.scn noOfArgs 0 }\n";
    d.animations =
        "noOfAnimations 1\nMainAnim Animation{ renderFunction null controller null "
        "transitionTarget null }\n";
    auto doc = LoadText(d.Text());
    ASSERT_TRUE(doc);
    auto kid = doc->FindChildZel("kid");
    kid->PlayAnimation("run", 0);
    doc->Update(300);
    EXPECT_FLOAT_EQ(Var(*kid, "$c"), 300.0f);
    doc->PlayAnimation("MainAnim", 400);
    doc->Update(600);
    EXPECT_FLOAT_EQ(Var(*kid, "$c"), 300.0f);  // "run" is over: MainAnim has no controller
}

}  // namespace
