#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "ScratchFolderTest.h"
#include "zel/zel.h"

// Documents written into a fresh temporary folder and opened by absolute path, so that
// threads never depend on the working directory.
class EmbedFixture : public ScratchFolderTest {
  public:
    struct Pixel {
        int b, g, r, a;
        bool operator==(const Pixel& o) const {
            return b == o.b && g == o.g && r == o.r && a == o.a;
        }
    };
    static constexpr Pixel kWhite{255, 255, 255, 255};
    static constexpr Pixel kRed{0, 0, 255, 255};
    static constexpr Pixel kBlue{255, 0, 0, 255};

  protected:
    void TearDown() override {
        for (zel_document* doc : m_Open) {
            zel_close(doc);
        }
        ScratchFolderTest::TearDown();
    }

    // Opens a document the test closes at its end; fails the test when it does not open.
    zel_document* Open(const std::string& text, uint32_t width = 100, uint32_t height = 80) {
        zel_document* doc = nullptr;
        const int code = zel_open(Write("doc.scn", text).c_str(), width, height, 96, 0, &doc);
        EXPECT_EQ(code, ZEL_OK) << zel_last_error();
        if (doc) {
            m_Open.push_back(doc);
        }
        return doc;
    }

    // Renders into a packed buffer (stride = width * 4) and keeps it for At().
    void Frame(zel_document* doc, uint32_t time) {
        uint32_t width = 0, height = 0;
        ASSERT_EQ(zel_size(doc, &width, &height), ZEL_OK);
        ASSERT_EQ(zel_update(doc, time), ZEL_OK) << zel_last_error();
        m_Width = width;
        m_Frame.assign(static_cast<size_t>(width) * height * 4, 0);
        ASSERT_EQ(zel_render(doc, m_Frame.data(), width * 4), ZEL_OK) << zel_last_error();
    }
    Pixel At(int x, int y) const {
        const uint8_t* p = &m_Frame[(static_cast<size_t>(y) * m_Width + x) * 4];
        return Pixel{p[0], p[1], p[2], p[3]};
    }

    std::vector<zel_document*> m_Open;
    std::vector<uint8_t> m_Frame;
    uint32_t m_Width = 0;
};

inline std::ostream& operator<<(std::ostream& os, const EmbedFixture::Pixel& p) {
    return os << "BGRA(" << p.b << ", " << p.g << ", " << p.r << ", " << p.a << ")";
}

// A complete document around the given sections; empty sections by default.
struct Doc {
    std::string geometries = "noOfGeometries 0\n";
    std::string brushes =
        "noOfBrushes 2\nred SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }\n"
        "blue SolidColorBrush{ Color{ 0 0 1 1 } opacity 1 }\n";
    std::string executables = "noOfExecutables 0\n";
    std::string controllers = "noOfControllers 0\n";
    std::string animations =
        "noOfAnimations 1\nMainAnim Animation{ renderFunction draw controller null "
        "transitionTarget null }\n";
    std::string Text() const {
        return "Scenimator{\n" + geometries + brushes + "noOfImages 0\nnoOfTransforms 0\n" +
               "noOfChildZels 0\n" + executables + controllers + animations + "}\n";
    }
};
