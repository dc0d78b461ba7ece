#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "EmbedFixture.h"

namespace {

constexpr int kFrames = 200;
constexpr uint32_t kWidth = 160, kHeight = 90;

// Two handles used on two threads at once must draw what each draws alone. Both documents
// lay out text again every frame (its size or position reads a variable a controller
// drives): text goes through the font machinery every document shares.
class EmbedThreads : public EmbedFixture {
  protected:
    static std::string TextDocument(const std::string& text, const std::string& font,
                                    const std::string& size, const std::string& x,
                                    const std::string& controller) {
        Doc d;
        d.geometries = "noOfGeometries 2\nt Text{ text " + text + " font " + font + " size " +
                       size + " x " + x + " y 10 w 120 h 60 hitTest 0 }\n" +
                       "bar Rectangle{ x 0 y 80 w $bar h 6 hitTest 0 }\n";
        d.executables =
            "noOfExecutables 1\ndraw Procedure{ noOfCommands 2 Fill{ t blue } Fill{ bar red } }\n";
        // One root controller running both: the given one and the bar's.
        d.controllers =
            "noOfControllers 1\nall Const{ target null begin 0 end 100000 loops 1 "
            "value 0 noOfChildren 2 " +
            controller +
            " Linear{ target $bar begin 0 end 700 loops 1 beginValue 0 "
            "endValue 160 noOfChildren 0 } }\n";
        d.animations =
            "noOfAnimations 1\nMainAnim Animation{ renderFunction draw controller all "
            "transitionTarget null }\n";
        return d.Text();
    }

    // Opens, plays kFrames frames 7 ms apart and closes; one hash per frame (0 for a failure).
    static std::vector<uint64_t> Play(const std::string& path, uint64_t* inkPixels) {
        std::vector<uint64_t> hashes;
        zel_document* doc = nullptr;
        if (zel_open(path.c_str(), kWidth, kHeight, 96, 0, &doc) != ZEL_OK) {
            return hashes;
        }
        std::vector<uint8_t> frame(kWidth * kHeight * 4);
        for (int i = 0; i < kFrames; ++i) {
            const bool ok = zel_update(doc, static_cast<uint32_t>(i) * 7) == ZEL_OK &&
                            zel_render(doc, frame.data(), kWidth * 4) == ZEL_OK;
            hashes.push_back(ok ? Hash(frame) : 0);
            *inkPixels += CountBlue(frame);
        }
        zel_close(doc);
        return hashes;
    }

    static uint64_t Hash(const std::vector<uint8_t>& bytes) {
        uint64_t h = 1469598103934665603ull;  // FNV-1a
        for (uint8_t b : bytes) {
            h = (h ^ b) * 1099511628211ull;
        }
        return h;
    }
    // Pixels the text's blue brush reached.
    static uint64_t CountBlue(const std::vector<uint8_t>& bgra) {
        uint64_t n = 0;
        for (size_t i = 0; i < bgra.size(); i += 4) {
            n += bgra[i] > 200 && bgra[i + 2] < 100;
        }
        return n;
    }
};

TEST_F(EmbedThreads, TwoHandlesOnTwoThreadsDrawWhatEachDrawsAlone) {
    const std::string a =
        Write("a.scn", TextDocument("Hello", "Arial", "$size", "20",
                                    "Linear{ target $size begin 0 end 500 loops 1 beginValue 12 "
                                    "endValue 40 noOfChildren 0 }"));
    const std::string b =
        Write("b.scn", TextDocument("Wrapped-words", "serif", "22", "$size",
                                    "Linear{ target $size begin 0 end 300 loops 1 beginValue 0 "
                                    "endValue 40 noOfChildren 0 }"));
    // Together first, while the shared font caches are still cold: that is when they change.
    uint64_t inkA = 0, inkB = 0;
    std::vector<uint64_t> togetherA, togetherB;
    std::thread first([&] { togetherA = Play(a, &inkA); });
    std::thread second([&] { togetherB = Play(b, &inkB); });
    first.join();
    second.join();
    // Every frame drew text.
    EXPECT_GT(inkA, uint64_t(kFrames) * 50) << inkA;
    EXPECT_GT(inkB, uint64_t(kFrames) * 50) << inkB;

    uint64_t ignored = 0;
    const std::vector<uint64_t> aloneA = Play(a, &ignored);
    const std::vector<uint64_t> aloneB = Play(b, &ignored);
    ASSERT_EQ(aloneA.size(), size_t(kFrames)) << zel_last_error();
    ASSERT_EQ(aloneB.size(), size_t(kFrames)) << zel_last_error();
    // The text grew or moved.
    EXPECT_NE(aloneA.front(), aloneA[40]);
    EXPECT_NE(aloneB.front(), aloneB[20]);
    EXPECT_EQ(togetherA, aloneA);
    EXPECT_EQ(togetherB, aloneB);
}

}  // namespace
