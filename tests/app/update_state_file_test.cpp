// updater.state: written whole through a rename, read back, and a file that
// cannot be read or written is no error.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/update_state_file.h"
#include "app/utc_time.h"
#include "runtime/files.h"

namespace {

class UpdateStateFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char directory[MAX_PATH];
        ::GetTempPathA(MAX_PATH, directory);
        path_ = std::string(directory) + "update_state_test_" + std::to_string(::GetCurrentProcessId()) + ".state";
        Remove();
    }
    void TearDown() override { Remove(); }
    void Remove() {
        ::DeleteFileA(path_.c_str());
        ::RemoveDirectoryA(path_.c_str());
        ::DeleteFileA((path_ + ".new").c_str());
    }
    std::string path_;
};

}  // namespace

TEST_F(UpdateStateFileTest, AMissingFileIsAFirstRun) {
    const UpdateState state = ReadUpdateStateFile(path_);
    EXPECT_EQ(state.floor, "");
    EXPECT_FALSE(state.newestPublished);
}

TEST_F(UpdateStateFileTest, WrittenStateIsReadBackAndReplacesTheOld) {
    UpdateState state;
    state.floor = "2.0";
    state.newestPublished = ParseUtcTime("2026-12-08T12:00:00Z");
    ASSERT_EQ(WriteUpdateStateFile(path_, state), 0u);
    state.floor = "3.0";
    ASSERT_EQ(WriteUpdateStateFile(path_, state), 0u);
    const UpdateState read = ReadUpdateStateFile(path_);
    EXPECT_EQ(read.floor, "3.0");
    EXPECT_EQ(read.newestPublished, state.newestPublished);
    EXPECT_FALSE(FileExists(path_ + ".new"));
}

TEST_F(UpdateStateFileTest, AStateThatCannotBeWrittenLeavesNothingBehind) {
    ASSERT_TRUE(::CreateDirectoryA(path_.c_str(), nullptr));
    UpdateState state;
    state.floor = "2.0";
    EXPECT_NE(WriteUpdateStateFile(path_, state), 0u);
    EXPECT_FALSE(FileExists(path_ + ".new"));
    EXPECT_EQ(ReadUpdateStateFile(path_).floor, "");  // a directory reads as no state
}

TEST(UtcClock, IsPastThisCodesWriting) {
    // Not a timing assertion: the system clock reads a date after 2026-01-01.
    EXPECT_GT(CurrentUtcSeconds(), *ParseUtcTime("2026-01-01T00:00:00Z"));
}
