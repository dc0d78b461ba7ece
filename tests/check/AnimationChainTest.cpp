#include <gtest/gtest.h>

#include "Check/AnimationChain.h"
#include "tests/core/DocumentFixture.h"

// Where a document's animations end: the default end of an export and of a check's run.
namespace {

class AnimationChainTest : public DocumentFixture {
  protected:
    // A document with these controllers and animations and nothing to draw.
    std::optional<ZEL::ChainEnd> EndOf(const std::string& controllers,
                                       const std::string& animations, uint32_t start = 0) {
        Doc d;
        d.children = "noOfChildZels 1\nkid Scenimator{ kid.scn noOfArgs 0 }\n";
        d.controllers = controllers;
        d.animations = animations;
        Write("kid.scn", Doc().Text());
        auto doc = LoadText(d.Text(), start);
        EXPECT_TRUE(doc) << Error();
        return doc ? ZEL::AnimationChainEnd(*doc, start) : std::nullopt;
    }
    static std::string Const(const std::string& name, int begin, int end, int loops) {
        return name + " Const{ target null begin " + std::to_string(begin) + " end " +
               std::to_string(end) + " loops " + std::to_string(loops) +
               " value 0 noOfChildren 0 }\n";
    }
    static std::string Anim(const std::string& name, const std::string& controller,
                            const std::string& next) {
        return name + " Animation{ renderFunction null controller " + controller +
               " transitionTarget " + next + " }\n";
    }
};

TEST_F(AnimationChainTest, EndsWithTheLastAnimationThatEnds) {
    const auto end = EndOf("noOfControllers 3\n" + Const("a", 0, 1000, 0) +
                               Const("b", 200, 2500, 0) + Const("c", 0, 700, 1),
                           "noOfAnimations 3\n" + Anim("MainAnim", "a", "B") + Anim("B", "b", "C") +
                               Anim("C", "c", "MainAnim"),
                           5000);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->time, 5000u + 1000 + 2500);
    EXPECT_FALSE(end->failsThere);
}

TEST_F(AnimationChainTest, NeverEndsWhenMainAnimLoopsOrTheChainCycles) {
    EXPECT_FALSE(EndOf("noOfControllers 1\n" + Const("a", 0, 1000, 1),
                       "noOfAnimations 1\n" + Anim("MainAnim", "a", "MainAnim")));
    EXPECT_FALSE(
        EndOf("noOfControllers 1\n" + Const("a", 0, 1000, 0),
              "noOfAnimations 2\n" + Anim("MainAnim", "a", "B") + Anim("B", "a", "MainAnim")));
    EXPECT_FALSE(
        EndOf("noOfControllers 0\n", "noOfAnimations 1\n" + Anim("MainAnim", "null", "B")));
    // A window that never opens never closes either.
    EXPECT_FALSE(EndOf("noOfControllers 1\n" + Const("a", 500, 500, 0),
                       "noOfAnimations 1\n" + Anim("MainAnim", "a", "MainAnim")));
    // No MainAnim: nothing plays.
    EXPECT_FALSE(EndOf("noOfControllers 0\n", "noOfAnimations 0\n"));
}

TEST_F(AnimationChainTest, AHandOverToNullFailsAndAMissingTargetStandsStill) {
    auto end = EndOf("noOfControllers 1\n" + Const("a", 0, 1500, 0),
                     "noOfAnimations 1\n" + Anim("MainAnim", "a", "null"));
    ASSERT_TRUE(end);
    EXPECT_EQ(end->time, 1500u);
    EXPECT_TRUE(end->failsThere);

    end = EndOf("noOfControllers 1\n" + Const("a", 0, 1500, 0),
                "noOfAnimations 1\n" + Anim("MainAnim", "a", "Missing"));
    ASSERT_TRUE(end);
    EXPECT_EQ(end->time, 1500u);
    EXPECT_FALSE(end->failsThere);
}

TEST_F(AnimationChainTest, ARootTriggerEndsWhenItFires) {
    const auto end = EndOf(
        "noOfControllers 2\ngo Trigger{ begin 800 targetZel kid targetAnimation MainAnim "
        "noOfChildren 0 }\n" +
            Const("spin", 0, 100, 1),
        "noOfAnimations 2\n" + Anim("MainAnim", "go", "Spin") + Anim("Spin", "spin", "Spin"));
    ASSERT_TRUE(end);
    EXPECT_EQ(end->time, 800u);
}

}  // namespace
