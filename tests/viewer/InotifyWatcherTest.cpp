// The real watcher on a real folder: what counts as a change of a watched file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "Viewer/InotifyWatcher.h"

namespace {

class InotifyWatcherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_Dir = std::filesystem::temp_directory_path() /
                ("zelwatch_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                 "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_Dir);
        std::filesystem::create_directories(m_Dir / "sub");
        Write("doc.scn");
        Write("sub/kid.scn");
    }
    void TearDown() override { std::filesystem::remove_all(m_Dir); }

    void Write(const std::string& name) { std::ofstream(m_Dir / name) << "x"; }
    std::string Path(const std::string& name) { return (m_Dir / name).string(); }
    // Inotify delivers at once on a local file system; a moment keeps the test honest.
    int Changes() {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return m_Watcher.TakeChanges();
    }

    std::filesystem::path m_Dir;
    ZEL::InotifyWatcher m_Watcher;
};

TEST_F(InotifyWatcherTest, SeesWritesAndSavesByRenameOfWatchedFilesOnly) {
    m_Watcher.Watch({Path("doc.scn"), Path("sub/kid.scn")});
    EXPECT_EQ(Changes(), 0);
    Write("other.txt");
    EXPECT_EQ(Changes(), 0);
    Write("sub/kid.scn");
    EXPECT_GT(Changes(), 0);
    Write("doc.scn.tmp");
    std::filesystem::rename(m_Dir / "doc.scn.tmp", m_Dir / "doc.scn");
    EXPECT_GT(Changes(), 0);
    EXPECT_EQ(Changes(), 0);
}

TEST_F(InotifyWatcherTest, AMissingFileIsSeenWhenItAppears) {
    m_Watcher.Watch({Path("later.scn")});
    Write("later.scn");
    EXPECT_GT(Changes(), 0);
}

TEST_F(InotifyWatcherTest, ANewSetReplacesTheOldOne) {
    m_Watcher.Watch({Path("doc.scn"), Path("sub/kid.scn")});
    m_Watcher.Watch({Path("doc.scn")});
    Write("sub/kid.scn");
    EXPECT_EQ(Changes(), 0);
    // Relative names resolve against the working directory.
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(m_Dir);
    m_Watcher.Watch({"sub/kid.scn"});
    std::filesystem::current_path(cwd);
    Write("sub/kid.scn");
    EXPECT_GT(Changes(), 0);
}

}  // namespace
