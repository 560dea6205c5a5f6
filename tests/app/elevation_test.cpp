// Write access before an update: the marker of the elevated copy, the
// decision with the probe and the launcher injected (a declined prompt
// cannot be produced under Wine), and the real probe.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/elevation.h"
#include "app/update_log.h"

namespace {

TEST(ElevatedCopyMarker, OnlyAnArgumentAfterTheProgram) {
    EXPECT_TRUE(HasElevatedCopyMarker("updater.exe --elevated-copy"));
    EXPECT_TRUE(HasElevatedCopyMarker("\"C:\\Program Files (x86)\\Norvane\\updater.exe\" --elevated-copy"));
    EXPECT_TRUE(HasElevatedCopyMarker("\"C:\\Norvane\\updater.exe\"  \t\"--elevated-copy\" other"));
    EXPECT_TRUE(HasElevatedCopyMarker("updater.exe first --elevated-copy"));
    EXPECT_FALSE(HasElevatedCopyMarker("updater.exe"));
    EXPECT_FALSE(HasElevatedCopyMarker(""));
    EXPECT_FALSE(HasElevatedCopyMarker("--elevated-copy"));  // the program's own name
    EXPECT_FALSE(HasElevatedCopyMarker("\"C:\\a --elevated-copy b\\updater.exe\""));
    EXPECT_FALSE(HasElevatedCopyMarker("\"C:\\a b\\updater.exe\" --elevated-copy-not"));
    EXPECT_FALSE(HasElevatedCopyMarker("updater.exe \"x --elevated-copy\""));
}

class WriteAccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        char directory[MAX_PATH];
        ::GetTempPathA(MAX_PATH, directory);
        temporary_ = directory;
        log_ = temporary_ + "elevation_test_" + std::to_string(::GetCurrentProcessId()) + ".log";
        ::DeleteFileA(log_.c_str());
        SetUpdateLogPath(log_);
    }
    void TearDown() override {
        SetUpdateLogPath(Text());
        ::DeleteFileA(log_.c_str());
    }

    // The decision with a probe that answers `writable` and a launcher that
    // answers `launch`; counts the launches.
    WriteAccess Check(bool writable, bool elevatedCopy, ElevatedLaunch launch) {
        WriteAccessSteps steps{[writable](const Text&) { return writable; },
                               [this, launch]() {
                                   ++launches_;
                                   return launch;
                               }};
        return CheckWriteAccess("C:\\Program Files\\Norvane", elevatedCopy, steps);
    }

    std::string Log() {
        std::ifstream file(log_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    std::string temporary_;
    std::string log_;
    int launches_ = 0;
};

TEST_F(WriteAccessTest, WritableDirectoryNeedsNoElevation) {
    EXPECT_EQ(Check(true, false, ElevatedLaunch::Started), WriteAccess::Granted);
    EXPECT_EQ(Check(true, true, ElevatedLaunch::Started), WriteAccess::Granted);
    EXPECT_EQ(launches_, 0);
}

TEST_F(WriteAccessTest, UnwritableDirectoryStartsTheElevatedCopyOnce) {
    EXPECT_EQ(Check(false, false, ElevatedLaunch::Started), WriteAccess::Restarted);
    EXPECT_EQ(launches_, 1);
    EXPECT_NE(Log().find("not writable"), std::string::npos) << Log();
    EXPECT_NE(Log().find("elevated copy started"), std::string::npos) << Log();
}

TEST_F(WriteAccessTest, DeclinedOrFailedElevationIsRefused) {
    EXPECT_EQ(Check(false, false, ElevatedLaunch::Cancelled), WriteAccess::Refused);
    EXPECT_NE(Log().find("elevation declined by the user"), std::string::npos) << Log();
    EXPECT_EQ(Check(false, false, ElevatedLaunch::Failed), WriteAccess::Refused);
    EXPECT_NE(Log().find("could not be started"), std::string::npos) << Log();
    EXPECT_EQ(launches_, 2);
}

TEST_F(WriteAccessTest, TheElevatedCopyNeverAsksAgain) {
    EXPECT_EQ(Check(false, true, ElevatedLaunch::Started), WriteAccess::Refused);
    EXPECT_EQ(launches_, 0);
    EXPECT_NE(Log().find("not writable even for the elevated copy"), std::string::npos) << Log();
}

TEST_F(WriteAccessTest, ProbeCreatesAndDeletesItsFile) {
    const std::string directory = temporary_ + "elevation_probe_" + std::to_string(::GetCurrentProcessId());
    ASSERT_TRUE(::CreateDirectoryA(directory.c_str(), nullptr));
    EXPECT_TRUE(DirectoryWritable(directory));
    // Nothing is left behind: the directory is empty again.
    EXPECT_TRUE(::RemoveDirectoryA(directory.c_str())) << "the probe file stayed";
    EXPECT_FALSE(DirectoryWritable(directory));  // gone: nothing can be created there
    EXPECT_NE(Log().find("cannot be created"), std::string::npos) << Log();
}

}  // namespace
