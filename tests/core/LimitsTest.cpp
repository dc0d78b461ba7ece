#include <sys/resource.h>

#include <chrono>
#include <sstream>

#include "DocumentFixture.h"

namespace {

// Every bound a load has: at the bound it loads, one past it fails with its own message,
// quickly and in little memory.
class LimitsTest : public DocumentFixture {
  protected:
    // Loads and returns the factory's text ("" on success), timing the load.
    std::string Outcome(const std::string& name) {
        const auto start = std::chrono::steady_clock::now();
        auto doc = Load(name);
        m_Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return doc ? "" : Error();
    }
    // Peak memory of the whole test process; a sanitizer's own bookkeeping is not counted.
    static long PeakMiB() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
        return 0;
#endif
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss / 1024;
    }
    double m_Seconds = 0;
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(LimitsTest, NestingStopsAt32Levels) {
    auto chain = [&](int levels) {
        for (int i = 0; i < levels; ++i) {
            Doc level;
            if (i + 1 < levels) {
                level.children = "noOfChildZels 1\nnext Scenimator{ n" + std::to_string(i + 1) +
                                 ".scn noOfArgs 0 }\n";
            }
            Write("n" + std::to_string(i) + ".scn", level.Text());
        }
    };
    chain(32);
    EXPECT_EQ(Outcome("n0.scn"), "");
    chain(33);
    EXPECT_TRUE(Contains(Outcome("n0.scn"), "nested deeper than 32 levels")) << Error();
}

TEST_F(LimitsTest, OneLoadReadsAtMost1024Files) {
    auto fanOut = [&](int children) {
        std::ostringstream list;
        list << "noOfChildZels " << children << "\n";
        for (int i = 0; i < children; ++i) {
            list << "c" << i << " Scenimator{ k" << i << ".scn noOfArgs 0 }\n";
            Write("k" + std::to_string(i) + ".scn", Doc().Text());
        }
        Doc top;
        top.children = list.str();
        Write("top.scn", top.Text());
    };
    fanOut(1023);
    EXPECT_EQ(Outcome("top.scn"), "");
    fanOut(1024);
    EXPECT_TRUE(Contains(Outcome("top.scn"), "at most 1024 files")) << Error();
}

TEST_F(LimitsTest, OneLoadReadsAtMostAMillionObjects) {
    auto commands = [&](int count) {
        std::string text = Doc().Text();
        std::string procedure =
            "noOfExecutables 1\np Procedure{ noOfCommands " + std::to_string(count);
        procedure.reserve(procedure.size() + 16 * static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            procedure += i % 1000 == 999 ? " PopTransform{ }\n" : " PopTransform{ }";
        }
        procedure += " }\n";
        Doc d;
        d.executables = procedure;
        Write("big.scn", d.Text());
    };
    commands(999999);  // and the procedure itself
    EXPECT_EQ(Outcome("big.scn"), "");
    commands(1000000);
    EXPECT_TRUE(Contains(Outcome("big.scn"), "at most 1000000 objects")) << Error();
    EXPECT_LT(PeakMiB(), 256);
}

TEST_F(LimitsTest, TextsHoldAtMost4096Bytes) {
    auto text = [&](size_t bytes) {
        Doc d;
        d.geometries = "noOfGeometries 1\nt Text{ text " + std::string(bytes, 'a') +
                       " font Arial size 10 x 0 y 0 w 100 h 100 hitTest 0 }\n";
        Write("text.scn", d.Text());
    };
    text(4096);
    EXPECT_EQ(Outcome("text.scn"), "");
    text(4097);
    EXPECT_EQ(Outcome("text.scn"),
              "Parse Error:::text.scn : 3 : a text may hold at most 4096 bytes");
}

TEST_F(LimitsTest, HugeCountsNeverPreallocate) {
    const char* sections[] = {
        "noOfGeometries 2000000000\n", "noOfGeometries 1\np Path{ noOfFigures 2000000000\n",
        "noOfGeometries 0\nnoOfBrushes 1\ng LinearGradientBrush{ start Point{ 0 "
        "0 } end Point{ 1 1 } GradientStopCollection{ noOfGradientStops "
        "2000000000\n"};
    for (const char* text : sections) {
        Write("huge.scn", std::string("Scenimator{\n") + text);
        const std::string error = Outcome("huge.scn");
        EXPECT_TRUE(Contains(error, "expecting") || Contains(error, "Unknown")) << error;
        EXPECT_LT(m_Seconds, 1.0);
    }
    // Child arguments have no block of their own to fail on: the end of the file stops them.
    Write("kid.scn", Doc().Text());
    Doc d;
    d.children = "noOfChildZels 1\nk Scenimator{ kid.scn noOfArgs 2000000000\n";
    std::string text = d.Text();
    Write("args.scn", text.substr(0, text.find("noOfArgs 2000000000") + 20));
    EXPECT_EQ(Outcome("args.scn"), "Parse Error:::args.scn : 8 : expecting \"}\" got \"\"");
    EXPECT_LT(m_Seconds, 1.0);
    EXPECT_LT(PeakMiB(), 256);
}

TEST_F(LimitsTest, SourceFilesShareTheBounds) {
    Write("self.geo", "Source{ self.geo hitTest 0 }");
    Doc d;
    d.geometries = "noOfGeometries 1\ng Source{ self.geo hitTest 0 }\n";
    Write("doc.scn", d.Text());
    EXPECT_EQ(Outcome("doc.scn"),
              "Parse Error:::self.geo : 1 : the file \"self.geo\" is already being read: a "
              "document can not include itself");
}

}  // namespace
