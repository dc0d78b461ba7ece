#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/FuzzHarness.h"

// Every input a fuzz run has ever crashed on, and the seeds the runs start from, must load,
// play and draw without a sanitizer report or a crash.
namespace {

const bool kFontConfigSet = [] {
    setenv("FONTCONFIG_FILE", ZEL_TEST_DATA "/fonts/fonts.conf", 1);
    return true;
}();

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& dir) {
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(dir)) {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
                files.push_back(entry.path());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

void Replay(const std::vector<std::filesystem::path>& files) {
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
        const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
        EXPECT_EQ(RunLoadInput(data, bytes.size(), false), 0);
        EXPECT_EQ(RunLoadInput(data, bytes.size(), true), 0);
    }
}

}  // namespace

TEST(FuzzRegression, FoundInputsReplayCleanly) {
    const auto files = FilesIn(ZEL_TEST_DATA "/fuzz-regressions");
    if (files.empty()) {
        GTEST_SKIP() << "no fuzz findings recorded";
    }
    Replay(files);
}

TEST(FuzzRegression, SeedCorpusReplaysCleanly) {
    const auto files = FilesIn(ZEL_SOURCE_DIR "/fuzz/corpus");
    ASSERT_GE(files.size(), 5u);
    Replay(files);
}
