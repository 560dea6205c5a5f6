// updater.log: one stamped line per event, bounded with one older file kept,
// and never in the way when it cannot be written.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "app/update_log.h"

namespace {

std::string Bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class UpdateLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        char directory[MAX_PATH];
        ::GetTempPathA(MAX_PATH, directory);
        path_ = std::string(directory) + "update_log_test_" + std::to_string(::GetCurrentProcessId()) + ".log";
        Remove();
        SetUpdateLogPath(path_);
    }
    void TearDown() override {
        Remove();
        SetUpdateLogPath(Text());
    }
    void Remove() {
        ::DeleteFileA(path_.c_str());
        ::DeleteFileA((path_ + ".1").c_str());
    }
    std::string path_;
};

}  // namespace

TEST_F(UpdateLogTest, OneStampedLinePerEvent) {
    LogEvent("message shown: 更新出错，请重新更新！\r\n BY:Halvord");
    LogEvent("second");
    const std::string text = Bytes(path_);
    const std::string stamp = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[)" + std::to_string(::GetCurrentThreadId()) + R"(\] )";
    EXPECT_TRUE(std::regex_match(text, std::regex(stamp + R"(message shown: .*\\r\\n BY:Halvord\r\n)" + stamp +
                                                  "second\r\n")))
        << text;
}

TEST_F(UpdateLogTest, StaysWithinItsBoundKeepingOneOlderFile) {
    const Text event(1000, 'x');
    for (int i = 0; i < 600; ++i) LogEvent(event + std::to_string(i));
    const std::string current = Bytes(path_);
    const std::string older = Bytes(path_ + ".1");
    EXPECT_LE(static_cast<std::int64_t>(current.size()), kUpdateLogLimit);
    EXPECT_LE(static_cast<std::int64_t>(older.size()), kUpdateLogLimit);
    EXPECT_GT(older.size(), 200000u);
    // The newest event is in the current file, and nothing is cut in half.
    EXPECT_NE(current.find(event + "599\r\n"), std::string::npos);
    EXPECT_EQ(current.substr(current.size() - 2), "\r\n");
    EXPECT_EQ(older.substr(older.size() - 2), "\r\n");
}

TEST_F(UpdateLogTest, UnwritableLogIsSkipped) {
    SetUpdateLogPath("Z:\\no such directory\\updater.log");
    LogEvent("lost");
    LogExit(0);
    EXPECT_EQ(::GetFileAttributesA("Z:\\no such directory"), INVALID_FILE_ATTRIBUTES);
}
