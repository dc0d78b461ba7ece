#pragma once
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

// A fresh folder for each test under the temporary directory, removed with everything in it
// afterwards. Suites whose documents name files relatively also make it the working
// directory; suites that run threads open everything by absolute path and leave it alone.
class ScratchFolderTest : public ::testing::Test {
  protected:
    enum class WorkIn { Scratch, Unchanged };

    explicit ScratchFolderTest(WorkIn workIn = WorkIn::Unchanged) : m_WorkIn(workIn) {}

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        // The process id keeps suites that run at once under CTest apart.
        m_Dir = std::filesystem::temp_directory_path() /
                ("zel_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
                 std::to_string(::getpid()));
        std::filesystem::remove_all(m_Dir);
        std::filesystem::create_directories(m_Dir);
        if (m_WorkIn == WorkIn::Scratch) {
            m_OldCwd = std::filesystem::current_path();
            std::filesystem::current_path(m_Dir);
        }
    }
    void TearDown() override {
        if (m_WorkIn == WorkIn::Scratch) {
            std::filesystem::current_path(m_OldCwd);
        }
        std::filesystem::remove_all(m_Dir);
    }

    // Writes text to name under the folder, making folders on the way; returns its path.
    std::string Write(const std::string& name, const std::string& text) {
        const auto path = m_Dir / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    std::filesystem::path m_Dir;

  private:
    WorkIn m_WorkIn;
    std::filesystem::path m_OldCwd;
};
