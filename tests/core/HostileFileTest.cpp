#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

#include "RenderFixture.h"

namespace {

// Documents name paths nobody checked. Whatever a path is (a device, a FIFO, a directory,
// a file far larger than any document), a load or a frame fails at once, with its own text,
// in little memory.
class HostileFileTest : public RenderFixture {
  protected:
    void SetUp() override {
        RenderFixture::SetUp();
        ASSERT_EQ(mkfifo("fifo", 0600), 0);
        std::filesystem::create_directories("dir");
    }

    // Runs step and returns how much the peak resident memory grew over the resident memory
    // before it, in MiB (0 under AddressSanitizer, whose own bookkeeping would count).
    template <typename Step>
    long GrowthMiB(Step step) {
        const long before = StatusKiB("VmRSS:");
        std::ofstream("/proc/self/clear_refs") << "5";  // restarts the peak at the present
        const auto start = std::chrono::steady_clock::now();
        step();
        m_Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
        return 0;
#endif
        return (StatusKiB("VmHWM:") - before) / 1024;
    }
    static long StatusKiB(const std::string& field) {
        std::ifstream status("/proc/self/status");
        std::string name;
        long value = 0;
        while (status >> name) {
            if (name == field && status >> value) {
                return value;
            }
        }
        return 0;
    }
    std::string LoadError(const std::string& name) {
        auto doc = Load(name, 0, m_Target.get());
        return doc ? "" : Error();
    }
    double m_Seconds = 0;
};

const char* const kHostilePaths[] = {"/dev/zero", "/dev/urandom", "fifo", "dir"};

TEST_F(HostileFileTest, DocumentsChildrenAndSourcesMustBeRegularFiles) {
    for (const std::string path : kHostilePaths) {
        SCOPED_TRACE(path);
        const std::string cannot = "could not open the file \"" + path + "\"";
        long growth =
            GrowthMiB([&] { EXPECT_EQ(LoadError(path), "Parse Error::: : 0 : " + cannot); });
        EXPECT_LT(growth, 64);
        EXPECT_LT(m_Seconds, 1.0);

        Doc parent;
        parent.children = "noOfChildZels 1\nkid Scenimator{ " + path + " noOfArgs 0 }\n";
        Write("parent.scn", parent.Text());
        growth = GrowthMiB([&] {
            EXPECT_EQ(LoadError("parent.scn"),
                      "Parse Error:::parent.scn : 7 : Parse Error::: : 0 : " + cannot);
        });
        EXPECT_LT(growth, 64);
        EXPECT_LT(m_Seconds, 1.0);

        Doc sourcing;
        sourcing.geometries = "noOfGeometries 1\ng Source{ " + path + " hitTest 0 }\n";
        Write("sourcing.scn", sourcing.Text());
        EXPECT_EQ(LoadError("sourcing.scn"), "Parse Error:::" + path + " : 0 : " + cannot);
        EXPECT_LT(m_Seconds, 1.0);
    }
}

TEST_F(HostileFileTest, ImagesMustBeRegularFiles) {
    for (const std::string path : kHostilePaths) {
        SCOPED_TRACE(path);
        Doc d;
        d.images = "noOfImages 1\npic BitmapFromFile{ " + path + " }\n";
        d.executables =
            "noOfExecutables 1\ndraw Procedure{ noOfCommands 1 DrawImage{ source pic destRect "
            "Rect{ 0 0 10 10 } opacity 1 srcRect Rect{ 0 0 1 1 } } }\n";
        d.controllers =
            "noOfControllers 1\nc Const{ target null begin 0 end 10 loops 0 value 0 "
            "noOfChildren 0 }\n";
        d.animations =
            "noOfAnimations 1\nMainAnim Animation{ renderFunction draw controller c "
            "transitionTarget MainAnim }\n";
        auto doc = LoadOnTarget(d.Text());
        ASSERT_TRUE(doc);
        const long growth = GrowthMiB([&] { EXPECT_NE(Frame(*doc, 0), ZEL::kSuccess); });
        EXPECT_EQ(doc->GetErrorText(), "Direct2D returned error: -2147024894");  // not found
        EXPECT_LT(growth, 64);
        EXPECT_LT(m_Seconds, 1.0);
    }
}

// At 64 MiB a document loads (a valid document with padding behind its final brace, which
// the reader never reaches); one byte more fails before anything is read.
TEST_F(HostileFileTest, DocumentsHoldAtMost64MiB) {
    const off_t bound = off_t{64} << 20;
    Write("big.scn", Doc().Text());
    ASSERT_EQ(truncate("big.scn", bound), 0);  // sparse: costs no disk
    long growth = GrowthMiB([&] { EXPECT_EQ(LoadError("big.scn"), ""); });
    EXPECT_LT(growth, 64);
    ASSERT_EQ(truncate("big.scn", bound + 1), 0);
    growth = GrowthMiB([&] {
        EXPECT_EQ(LoadError("big.scn"),
                  "Parse Error::: : 0 : the file \"big.scn\" is larger than 64 MiB");
    });
    EXPECT_LT(growth, 64);
    EXPECT_LT(m_Seconds, 1.0);
}

// A line of 1 MiB loads; one byte more fails at that line, without reading the rest of it,
// and a file without a single line break is no worse.
TEST_F(HostileFileTest, LinesHoldAtMost1MiB) {
    const size_t bound = size_t{1} << 20;
    auto padded = [&](size_t spaces) {
        const std::string text = Doc().Text();
        const size_t cut = text.find("noOfBrushes");
        Write("long.scn", text.substr(0, cut) + std::string(spaces - 11, ' ') + text.substr(cut));
    };
    padded(bound);  // the line holds the spaces and "noOfBrushes" (11 bytes) and " 0"
    EXPECT_EQ(LoadError("long.scn"), "Parse Error:::long.scn : 3 : a line may hold at most 1 MiB");
    padded(bound - 2);
    EXPECT_EQ(LoadError("long.scn"), "");

    Write("one-line.scn", "Scenimator{ " + std::string(60u << 20, ' '));
    const long growth = GrowthMiB([&] {
        EXPECT_EQ(LoadError("one-line.scn"),
                  "Parse Error:::one-line.scn : 1 : a line may hold at most 1 MiB");
    });
    EXPECT_LT(growth, 64);
    EXPECT_LT(m_Seconds, 1.0);
}

}  // namespace
