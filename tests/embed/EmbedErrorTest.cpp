#include <cmath>
#include <string>
#include <thread>

#include "EmbedFixture.h"

namespace {

// Failures through the C interface: the engine's codes and exact texts, refused arguments,
// and an error text that belongs to the thread that failed.
class EmbedErrors : public EmbedFixture {
  protected:
    void SetUp() override {
        EmbedFixture::SetUp();
        Doc d;
        d.geometries = "noOfGeometries 1\nbox Rectangle{ x $x y 0 w 10 h 10 hitTest 1 }\n";
        d.executables = "noOfExecutables 1\ndraw Procedure{ noOfCommands 1 Fill{ box red } }\n";
        m_Doc = Open(d.Text(), 20, 10);
        ASSERT_TRUE(m_Doc);
    }

    // Expects ZEL_BAD_ARGUMENT and an error text naming the function.
    static void ExpectRefused(int code, const std::string& function) {
        EXPECT_EQ(code, ZEL_BAD_ARGUMENT);
        EXPECT_EQ(std::string(zel_last_error()).rfind(function + ": ", 0), 0u) << zel_last_error();
    }

    zel_document* m_Doc = nullptr;
};

TEST_F(EmbedErrors, AMissingFileGivesTheReadersCodeAndTextAndNoHandle) {
    zel_document* doc = reinterpret_cast<zel_document*>(0x1);
    EXPECT_EQ(zel_open("missing.scn", 100, 100, 96, 0, &doc), ZEL_LOGIC_ERROR);
    EXPECT_EQ(doc, nullptr);
    EXPECT_STREQ(zel_last_error(), "Parse Error::: : 0 : could not open the file \"missing.scn\"");
}

TEST_F(EmbedErrors, ABrokenDocumentGivesItsParseError) {
    zel_document* doc = nullptr;
    const std::string path = Write("broken.scn", "Scenimator{\nnoOfGeometries 1\nbox Bogus{ }\n");
    EXPECT_EQ(zel_open(path.c_str(), 100, 100, 96, 0, &doc), ZEL_LOGIC_ERROR);
    EXPECT_EQ(doc, nullptr);
    EXPECT_EQ(zel_last_error(),
              "Parse Error:::" + path + " : 3 : Unknown geometry type \"Bogus{\"");
}

TEST_F(EmbedErrors, UnknownNamesGiveNotFoundAndTheDocumentsText) {
    float value = 7;
    EXPECT_EQ(zel_get_variable(m_Doc, "$nothing", &value), ZEL_NOT_FOUND);
    EXPECT_STREQ(zel_last_error(), "trying to read non-existing variable");
    EXPECT_EQ(value, 7.0f);
    EXPECT_EQ(zel_set_variable(m_Doc, "$nothing", 1), ZEL_NOT_FOUND);
    EXPECT_STREQ(zel_last_error(), "trying to write non-existing variable");
}

TEST_F(EmbedErrors, NullAndUnusableArgumentsAreRefused) {
    const std::string path = Write("ok.scn", "");
    zel_document* doc = nullptr;
    ExpectRefused(zel_open(nullptr, 10, 10, 96, 0, &doc), "zel_open");
    ExpectRefused(zel_open(path.c_str(), 10, 10, 96, 0, nullptr), "zel_open");
    ExpectRefused(zel_open(path.c_str(), 0, 10, 96, 0, &doc), "zel_open");
    ExpectRefused(zel_open(path.c_str(), 10, 16385, 96, 0, &doc), "zel_open");
    ExpectRefused(zel_open(path.c_str(), 10, 10, 0, 0, &doc), "zel_open");
    ExpectRefused(zel_open(path.c_str(), 10, 10, NAN, 0, &doc), "zel_open");
    EXPECT_EQ(doc, nullptr);

    std::vector<uint8_t> pixels(20 * 10 * 4);
    ExpectRefused(zel_update(nullptr, 0), "zel_update");
    ExpectRefused(zel_render(nullptr, pixels.data(), 80), "zel_render");
    ExpectRefused(zel_render(m_Doc, nullptr, 80), "zel_render");
    ExpectRefused(zel_render(m_Doc, pixels.data(), 79), "zel_render");
    int hit = 0;
    ExpectRefused(zel_hit_test(nullptr, 1, 1, &hit), "zel_hit_test");
    ExpectRefused(zel_hit_test(m_Doc, 1, 1, nullptr), "zel_hit_test");
    ExpectRefused(zel_hit_test(m_Doc, NAN, 1, &hit), "zel_hit_test");
    ExpectRefused(zel_hit_test(m_Doc, 1, INFINITY, &hit), "zel_hit_test");
    float value = 0;
    ExpectRefused(zel_get_variable(nullptr, "$x", &value), "zel_get_variable");
    ExpectRefused(zel_get_variable(m_Doc, nullptr, &value), "zel_get_variable");
    ExpectRefused(zel_get_variable(m_Doc, "$x", nullptr), "zel_get_variable");
    ExpectRefused(zel_set_variable(nullptr, "$x", 1), "zel_set_variable");
    ExpectRefused(zel_set_variable(m_Doc, nullptr, 1), "zel_set_variable");
    ExpectRefused(zel_play(nullptr, "MainAnim", 0), "zel_play");
    ExpectRefused(zel_play(m_Doc, nullptr, 0), "zel_play");
    uint32_t width = 0;
    ExpectRefused(zel_size(m_Doc, &width, nullptr), "zel_size");
    zel_close(nullptr);
}

TEST_F(EmbedErrors, ARefusedRenderLeavesTheBufferAndTheDocumentAlone) {
    std::vector<uint8_t> pixels(20 * 10 * 4, 0x11);
    ASSERT_EQ(zel_render(m_Doc, pixels.data(), 79), ZEL_BAD_ARGUMENT);
    EXPECT_EQ(pixels, std::vector<uint8_t>(20 * 10 * 4, 0x11));
    EXPECT_EQ(zel_render(m_Doc, pixels.data(), 80), ZEL_OK);
    EXPECT_EQ(pixels[2], 255);  // red of the square at (0, 0)
}

TEST_F(EmbedErrors, TheErrorTextBelongsToTheThreadThatFailed) {
    EXPECT_EQ(zel_set_variable(m_Doc, "$nothing", 1), ZEL_NOT_FOUND);
    std::string otherBefore, otherAfter;
    std::thread other([&] {
        otherBefore = zel_last_error();
        zel_update(nullptr, 0);
        otherAfter = zel_last_error();
    });
    other.join();
    EXPECT_EQ(otherBefore, "");
    EXPECT_EQ(otherAfter, "zel_update: doc is null");
    EXPECT_STREQ(zel_last_error(), "trying to write non-existing variable");
    // Success keeps the last failure's text.
    EXPECT_EQ(zel_update(m_Doc, 0), ZEL_OK);
    EXPECT_STREQ(zel_last_error(), "trying to write non-existing variable");
}

}  // namespace
