#include "EmbedFixture.h"

namespace {

// What a document shows through zel_render, and how variables, hit tests and animations
// reach it through the C interface.
class EmbedRender : public EmbedFixture {
  protected:
    // A red 50x50 square at (10, 10) that takes hit tests, moved by $x.
    static std::string Square() {
        Doc d;
        d.geometries = "noOfGeometries 1\nbox Rectangle{ x $x y 10 w 50 h 50 hitTest 1 }\n";
        d.executables = "noOfExecutables 1\ndraw Procedure{ noOfCommands 1 Fill{ box red } }\n";
        return d.Text();
    }
};

TEST_F(EmbedRender, ASquareShowsExactPixelsOnOpaqueWhite) {
    zel_document* doc = Open(Square());
    ASSERT_TRUE(doc);
    ASSERT_EQ(zel_set_variable(doc, "$x", 10), ZEL_OK);
    Frame(doc, 0);
    EXPECT_EQ(At(10, 10), kRed);
    EXPECT_EQ(At(59, 59), kRed);
    EXPECT_EQ(At(9, 30), kWhite);
    EXPECT_EQ(At(60, 30), kWhite);
    EXPECT_EQ(At(30, 60), kWhite);
    EXPECT_EQ(At(99, 79), kWhite);
}

TEST_F(EmbedRender, RowsLandAtTheCallersStrideAndPaddingIsUntouched) {
    zel_document* doc = Open(Square());
    ASSERT_TRUE(doc);
    zel_set_variable(doc, "$x", 10);
    ASSERT_EQ(zel_update(doc, 0), ZEL_OK);
    const uint32_t stride = 100 * 4 + 12;
    std::vector<uint8_t> buffer(stride * 80, 0xAB);
    ASSERT_EQ(zel_render(doc, buffer.data(), stride), ZEL_OK);
    const uint8_t* row = &buffer[20 * stride];
    EXPECT_EQ(row[10 * 4 + 2], 255);  // red of a red pixel
    EXPECT_EQ(row[10 * 4 + 0], 0);
    EXPECT_EQ(row[60 * 4 + 0], 255);  // blue of a white pixel
    for (uint32_t i = 400; i < stride; ++i) {
        EXPECT_EQ(row[i], 0xAB) << "padding byte " << i;
    }
}

TEST_F(EmbedRender, AWrittenVariableMovesTheNextFrame) {
    zel_document* doc = Open(Square());
    ASSERT_TRUE(doc);
    float x = -1;
    ASSERT_EQ(zel_get_variable(doc, "$x", &x), ZEL_OK);
    EXPECT_EQ(x, 0.0f);
    Frame(doc, 0);
    EXPECT_EQ(At(5, 30), kRed);

    ASSERT_EQ(zel_set_variable(doc, "$x", 40), ZEL_OK);
    ASSERT_EQ(zel_get_variable(doc, "$x", &x), ZEL_OK);
    EXPECT_EQ(x, 40.0f);
    Frame(doc, 16);
    EXPECT_EQ(At(5, 30), kWhite);
    EXPECT_EQ(At(39, 30), kWhite);
    EXPECT_EQ(At(40, 30), kRed);
    EXPECT_EQ(At(89, 30), kRed);
}

TEST_F(EmbedRender, HitTestsRoundToTheNearestUnit) {
    Doc d;
    // Contains the unit point (20, 20) and no other.
    d.geometries = "noOfGeometries 1\ndot Rectangle{ x 19.5 y 19.5 w 1 h 1 hitTest 1 }\n";
    d.executables = "noOfExecutables 1\ndraw Procedure{ noOfCommands 1 Fill{ dot red } }\n";
    zel_document* doc = Open(d.Text());
    ASSERT_TRUE(doc);
    Frame(doc, 0);
    struct Case {
        float x, y;
        int hit;
    } cases[] = {{20, 20, 1},    {19.6f, 19.6f, 1}, {20.4f, 20.4f, 1},
                 {20.6f, 20, 0}, {19.4f, 20, 0},    {60, 60, 0}};
    for (const Case& c : cases) {
        int hit = -1;
        ASSERT_EQ(zel_hit_test(doc, c.x, c.y, &hit), ZEL_OK);
        EXPECT_EQ(hit, c.hit) << c.x << ", " << c.y;
    }
}

TEST_F(EmbedRender, PlaySwitchesTheAnimationThatDraws) {
    Doc d;
    d.geometries =
        "noOfGeometries 2\nleft Rectangle{ x 0 y 0 w 50 h 80 hitTest 0 }\n"
        "right Rectangle{ x 50 y 0 w 50 h 80 hitTest 0 }\n";
    d.executables =
        "noOfExecutables 2\ndraw Procedure{ noOfCommands 1 Fill{ left red } }\n"
        "other Procedure{ noOfCommands 1 Fill{ right blue } }\n";
    d.animations =
        "noOfAnimations 2\nMainAnim Animation{ renderFunction draw controller null "
        "transitionTarget null }\n"
        "second Animation{ renderFunction other controller null transitionTarget null }\n";
    zel_document* doc = Open(d.Text());
    ASSERT_TRUE(doc);
    Frame(doc, 0);
    EXPECT_EQ(At(25, 40), kRed);
    EXPECT_EQ(At(75, 40), kWhite);

    ASSERT_EQ(zel_play(doc, "second", 100), ZEL_OK) << zel_last_error();
    Frame(doc, 116);
    EXPECT_EQ(At(25, 40), kWhite);
    EXPECT_EQ(At(75, 40), kBlue);

    EXPECT_EQ(zel_play(doc, "missing", 200), ZEL_NOT_FOUND);
    EXPECT_STREQ(zel_last_error(), "missing animation does not exist");
}

TEST_F(EmbedRender, SizeAndVersionAreReported) {
    zel_document* doc = Open(Square(), 64, 48);
    ASSERT_TRUE(doc);
    uint32_t width = 0, height = 0;
    ASSERT_EQ(zel_size(doc, &width, &height), ZEL_OK);
    EXPECT_EQ(width, 64u);
    EXPECT_EQ(height, 48u);
    EXPECT_STREQ(zel_version(), ZEL_EXPECTED_VERSION);
}

}  // namespace
