#include "DocumentFixture.h"

namespace {

// Runs one root controller as MainAnim's, so Update drives it like the host does.
class ControllerTest : public DocumentFixture {
  protected:
    std::unique_ptr<ZEL::Scenimator> LoadController(const std::string& block,
                                                    const std::string& values = "",
                                                    uint32_t start = 0) {
        Doc d;
        // Values create the variables that controllers write.
        d.geometries =
            "noOfGeometries 1\nv Rectangle{ x $x y $y w $w " + values + " h 0 hitTest 0 }\n";
        d.controllers = "noOfControllers 1\nc " + block + "\n";
        d.animations =
            "noOfAnimations 1\nMainAnim Animation{ renderFunction null controller c "
            "transitionTarget MainAnim }\n";
        auto doc = LoadText(d.Text(), start);
        EXPECT_TRUE(doc) << Error();
        return doc;
    }
};

TEST_F(ControllerTest, LinearWritesItsWindowThenTheExactFinalValue) {
    auto doc = LoadController(
        "Linear{ target $x begin 0 end 1000 loops 0 beginValue 10 endValue 20 noOfChildren 0 }", "",
        5000);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 10.0f);  // the start evaluates at once
    doc->Update(5500);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 15.0f);
    doc->Update(5999);
    EXPECT_LT(Var(*doc, "$x"), 20.0f);
    EXPECT_GT(Var(*doc, "$x"), 19.98f);
    // Finishing hands over (to itself here), which restarts at the same time.
    Doc d;
    d.geometries = "noOfGeometries 1\nv Rectangle{ x $x y 0 w 0 h 0 hitTest 0 }\n";
    d.controllers =
        "noOfControllers 1\nc Linear{ target $x begin 0 end 1000 loops 0 beginValue 10 endValue 20 "
        "noOfChildren 0 }\n";
    d.animations =
        "noOfAnimations 2\nMainAnim Animation{ renderFunction null controller c transitionTarget "
        "rest }\nrest Animation{ renderFunction null controller null transitionTarget null }\n";
    auto handed = LoadText(d.Text(), 5000);
    ASSERT_TRUE(handed);
    EXPECT_EQ(handed->Update(6300), ZEL::kSuccess);
    EXPECT_FLOAT_EQ(Var(*handed, "$x"), 20.0f);
}

TEST_F(ControllerTest, LoopsRestartAtStartPlusEndAndCatchUpOnePeriodPerAdvance) {
    auto doc = LoadController(
        "Linear{ target $x begin 0 end 1000 loops 1 beginValue 10 endValue 20 noOfChildren 0 }", "",
        5000);
    doc->Update(6000);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 10.0f);
    doc->Update(6250);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 12.5f);
    // After a pause of several periods each update moves on by one period only.
    doc->Update(9500);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 10.0f);  // restarted at 7000
    doc->Update(9500);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 10.0f);  // restarted at 8000
    doc->Update(9500);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 10.0f);  // restarted at 9000
    doc->Update(9500);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 15.0f);
}

TEST_F(ControllerTest, WindowsGateWrites) {
    auto doc = LoadController(
        "Linear{ target $x begin 500 end 1000 loops 0 beginValue 1 endValue 2 noOfChildren 0 }");
    doc->Update(499);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 0.0f);
    doc->Update(500);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 1.0f);
}

// A window that falls between two frames has still passed: the controller ends as if a
// frame had landed on its end, so whether an animation lives cannot depend on the frame rate.
TEST_F(ControllerTest, AWindowSteppedOverCountsAsPassed) {
    Doc d;
    d.geometries = "noOfGeometries 1\nv Rectangle{ x $x y $y w 0 h 0 hitTest 0 }\n";
    d.controllers =
        "noOfControllers 2\nc Linear{ target $x begin 5 end 10 loops 0 beginValue 1 endValue 2 "
        "noOfChildren 0 }\nafter Const{ target $y begin 0 end 1000 loops 1 value 7 noOfChildren 0 "
        "}\n";
    d.animations =
        "noOfAnimations 2\nMainAnim Animation{ renderFunction null controller c transitionTarget "
        "next }\nnext Animation{ renderFunction null controller after transitionTarget null }\n";
    auto handed = LoadText(d.Text());
    ASSERT_TRUE(handed) << Error();
    EXPECT_EQ(handed->Update(50), ZEL::kSuccess);
    EXPECT_FLOAT_EQ(Var(*handed, "$x"), 2.0f);  // the exact final value
    EXPECT_FLOAT_EQ(Var(*handed, "$y"), 7.0f);  // and the hand-over in the same update

    // Looping: each stepped-over window restarts the next period at start + end, so a later
    // frame inside a window writes again instead of the controller staying dead.
    auto looping = LoadController(
        "Linear{ target $x begin 990 end 1000 loops 1 beginValue 1 endValue 2 noOfChildren 0 }");
    looping->Update(500);
    looping->Update(1500);  // over the first window: restarts at 1000
    EXPECT_FLOAT_EQ(Var(*looping, "$x"), 0.0f);
    looping->Update(1995);
    EXPECT_FLOAT_EQ(Var(*looping, "$x"), 1.5f);

    // An empty window (end at or before begin) is never entered, so never passed.
    auto empty = LoadController(
        "Linear{ target $x begin 10 end 10 loops 1 beginValue 1 endValue 2 noOfChildren 0 }");
    empty->Update(5000);
    EXPECT_FLOAT_EQ(Var(*empty, "$x"), 0.0f);
}

TEST_F(ControllerTest, SinusoidalCountsCyclesPerWindowAndPhaseInDegrees) {
    auto doc = LoadController(
        "Sinusoidal{ target $x begin 0 end 1000 loops 1 dc 0 amplitude 1 frequency 1 phase 90 "
        "noOfChildren 0 }");
    EXPECT_NEAR(Var(*doc, "$x"), 1.0f, 1e-6);
    doc->Update(500);
    EXPECT_NEAR(Var(*doc, "$x"), -1.0f, 1e-6);
    doc->Update(250);
    EXPECT_NEAR(Var(*doc, "$x"), 0.0f, 1e-6);
}

TEST_F(ControllerTest, AdditionSumsChildrenAndNullTargetsWriteNothing) {
    auto doc = LoadController(
        "Addition{ target $x begin 0 end 1000 loops 1 noOfChildren 2 "
        "Const{ target null begin 0 end 1000 loops 1 value 2 noOfChildren 0 } "
        "Linear{ target $y begin 0 end 1000 loops 1 beginValue 0 endValue 10 noOfChildren 0 } }");
    doc->Update(500);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 7.0f);
    EXPECT_FLOAT_EQ(Var(*doc, "$y"), 5.0f);
}

TEST_F(ControllerTest, Linear2dWritesBothTargetsAndParametersFollowVariables) {
    auto doc = LoadController(
        "Linear2d{ target $x begin 0 end 1000 loops 1 targetY $y beginValue 0 0 endValue 800 $w "
        "noOfChildren 1 Const{ target $w begin 0 end 1000 loops 1 value 600 noOfChildren 0 } }");
    doc->Update(500);
    EXPECT_FLOAT_EQ(Var(*doc, "$x"), 400.0f);
    // The y end value is read afresh: $w was written by the child at the start.
    EXPECT_FLOAT_EQ(Var(*doc, "$y"), 300.0f);
    doc->Update(750);
    EXPECT_FLOAT_EQ(Var(*doc, "$y"), 450.0f);
}

}  // namespace
