// RangedDownload against real local update servers (started by
// run_with_update_servers.sh): what lands in the file and what the progress
// procedure is told after each chunk.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "app/download.h"
#include "app/update_log.h"
#include "runtime/arith.h"
#include "runtime/files.h"
#include "tests/support/trusted_certificate.h"
#include "tests/support/window_probe.h"

namespace {

struct Call {
    std::int64_t contentLength, position, elapsedMs, receivedBytes;
};
std::vector<Call> gCalls;

void Record(std::int64_t contentLength, std::int64_t position, std::int64_t elapsedMs,
            std::int64_t receivedBytes) {
    gCalls.push_back({contentLength, position, elapsedMs, receivedBytes});
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string Bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Served(const std::string& name) { return Bytes(Env("DOWNLOAD_FILES") + "\\" + name); }

std::string Url(const std::string& name, const char* portVariable = "DOWNLOAD_PORT") {
    return "http://127.0.0.1:" + Env(portVariable) + "/" + name;
}

std::string HttpsUrl(const std::string& name) {
    return "https://localhost:" + Env("DOWNLOAD_TLS_PORT") + "/" + name;
}

const auto* const kTrust =
    ::testing::AddGlobalTestEnvironment(new probe::TrustedCertificate("DOWNLOAD_TLS_CERT"));

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Env("DOWNLOAD_PORT").empty()) << "run through run_with_update_servers.sh";
        char directory[MAX_PATH];
        ::GetTempPathA(MAX_PATH, directory);
        target_ = std::string(directory) + "download_test_" + std::to_string(::GetCurrentProcessId()) + ".tmp";
        identity_ = DownloadIdentityPath(target_);
        SetUpdateLogPath(std::string(directory) + "download_test_" + std::to_string(::GetCurrentProcessId()) + ".log");
        RemoveFiles();
        gCalls.clear();
    }
    void TearDown() override {
        RemoveFiles();
        ::DeleteFileA(UpdateLogPath().c_str());
    }
    void RemoveFiles() {
        ::DeleteFileA(target_.c_str());
        ::DeleteFileA(identity_.c_str());
    }

    // Every call of one transfer: the same content length, positions rising
    // to the end, received bytes counted from the start offset.
    void ExpectConsistentCalls(std::int64_t contentLength, std::int64_t start, std::int64_t end) {
        ASSERT_FALSE(gCalls.empty());
        std::int64_t previous = start;
        for (const Call& call : gCalls) {
            EXPECT_EQ(call.contentLength, contentLength);
            EXPECT_GT(call.position, previous);
            EXPECT_LE(call.position - previous, 10240);
            EXPECT_EQ(call.receivedBytes, call.position - start);
            EXPECT_GT(call.elapsedMs, 0);
            previous = call.position;
        }
        EXPECT_EQ(gCalls.back().position, end);
    }

    std::string target_;
    std::string identity_;
};

TEST_F(DownloadTest, FreshDownloadReportsEveryChunk) {
    Write(target_, "old contents that are replaced");
    EXPECT_EQ(RangedDownload(Url("data.bin"), target_, Record), 0);
    EXPECT_EQ(Bytes(target_), Served("data.bin"));
    ExpectConsistentCalls(100000, 0, 100000);
}

TEST_F(DownloadTest, ExactlyOneChunkIsOneCall) {
    EXPECT_EQ(RangedDownload(Url("chunk.bin"), target_, Record), 0);
    ASSERT_EQ(gCalls.size(), 1u);
    EXPECT_EQ(gCalls[0].contentLength, 10240);
    EXPECT_EQ(gCalls[0].position, 10240);
    EXPECT_EQ(gCalls[0].receivedBytes, 10240);
    EXPECT_EQ(Bytes(target_), Served("chunk.bin"));
}

TEST_F(DownloadTest, ElapsedWithinOneTickIsReportedAsTen) {
    const TickCountSource previous = SetTickCountSource([]() -> std::uint32_t { return 5000; });
    const int result = RangedDownload(Url("chunk.bin"), target_, Record);
    SetTickCountSource(previous);
    EXPECT_EQ(result, 0);
    ASSERT_EQ(gCalls.size(), 1u);
    EXPECT_EQ(gCalls[0].elapsedMs, 10);
}

TEST_F(DownloadTest, ZeroLengthResponseMakesNoCall) {
    EXPECT_EQ(RangedDownload(Url("empty.bin"), target_, Record), 0);
    EXPECT_TRUE(gCalls.empty());
    EXPECT_TRUE(FileExists(target_));
    EXPECT_EQ(Bytes(target_), "");
    // Resuming an empty file of an empty download: already complete.
    EXPECT_EQ(RangedDownload(Url("empty.bin"), target_, Record, 0), 0);
    EXPECT_TRUE(gCalls.empty());
    EXPECT_EQ(Bytes(target_), "");
}

TEST_F(DownloadTest, ResumeAppendsFromTheStartOffset) {
    const std::string whole = Served("data.bin");
    Write(target_, whole.substr(0, 1000));
    EXPECT_EQ(RangedDownload(Url("data.bin"), target_, Record, 1000), 0);
    EXPECT_EQ(Bytes(target_), whole);
    // The content length is that of the remaining range.
    ExpectConsistentCalls(99000, 1000, 100000);
}

TEST_F(DownloadTest, CompletePartialFileIsLeftAsItIs) {
    const std::string whole = Served("data.bin");
    Write(target_, whole);
    EXPECT_EQ(RangedDownload(Url("data.bin"), target_, Record, 100000), 0);
    EXPECT_TRUE(gCalls.empty());
    EXPECT_EQ(Bytes(target_), whole);
}

TEST_F(DownloadTest, IgnoredRangeRewritesTheFileFromTheStart) {
    Write(target_, std::string(3000, 'x'));
    EXPECT_EQ(RangedDownload(Url("data.bin", "DOWNLOAD_IGNORE_RANGE_PORT"), target_, Record, 3000), 0);
    EXPECT_EQ(Bytes(target_), Served("data.bin"));
    ExpectConsistentCalls(100000, 0, 100000);
}

TEST_F(DownloadTest, MisplacedRangeFetchesTheWholeFileAgain) {
    Write(target_, std::string(3000, 'x'));
    EXPECT_EQ(RangedDownload(Url("data.bin", "DOWNLOAD_MISPLACED_PORT"), target_, Record, 3000), 0);
    EXPECT_EQ(Bytes(target_), Served("data.bin"));
    ExpectConsistentCalls(100000, 0, 100000);
}

TEST_F(DownloadTest, HttpsDownloadAndResume) {
    ASSERT_TRUE(probe::TrustedCertificate::Added());
    const std::string whole = Served("data.bin");
    EXPECT_EQ(RangedDownload(HttpsUrl("data.bin"), target_, Record), 0);
    EXPECT_EQ(Bytes(target_), whole);
    ExpectConsistentCalls(100000, 0, 100000);

    gCalls.clear();
    Write(target_, whole.substr(0, 5000));
    EXPECT_EQ(RangedDownload(HttpsUrl("data.bin"), target_, Record, 5000), 0);
    EXPECT_EQ(Bytes(target_), whole);
    ExpectConsistentCalls(95000, 5000, 100000);
}

// A gzip-encoded body is written decoded; its Content-Length counts the
// encoded bytes, so the progress calls report the length as unknown (0).
TEST_F(DownloadTest, EncodedBodyIsWrittenDecodedWithUnknownLength) {
    EXPECT_EQ(RangedDownload(Url("data.bin", "DOWNLOAD_GZIP_PORT"), target_, Record), 0);
    EXPECT_EQ(Bytes(target_), Served("data.bin"));
    ExpectConsistentCalls(0, 0, 100000);
}

// A partial file from a file the server no longer serves (its recorded ETag
// differs) is not continued: the whole file is fetched again.
TEST_F(DownloadTest, PartialFileOfAnotherFileIsFetchedAgain) {
    const std::string whole = Served("data.bin");
    EXPECT_EQ(RangedDownload(Url("data.bin"), target_, Record), 0);
    const std::string recorded = Bytes(identity_);
    EXPECT_NE(recorded.find("ETag: \""), std::string::npos) << recorded;
    EXPECT_NE(recorded.find("Length: 100000"), std::string::npos) << recorded;

    // The same partial file resumes while the record matches...
    gCalls.clear();
    Write(target_, whole.substr(0, 1000));
    EXPECT_EQ(RangedDownload(Url("data.bin"), target_, Record, 1000), 0);
    EXPECT_EQ(Bytes(target_), whole);
    ExpectConsistentCalls(99000, 1000, 100000);

    // ...and starts again once it says another file was begun.
    gCalls.clear();
    Write(target_, std::string(1000, 'o'));
    Write(identity_, "ETag: \"older release\"\r\nLast-Modified: \r\nLength: 100000\r\n");
    EXPECT_EQ(RangedDownload(Url("data.bin"), target_, Record, 1000), 0);
    EXPECT_EQ(Bytes(target_), whole);
    ExpectConsistentCalls(100000, 0, 100000);
    EXPECT_NE(Bytes(UpdateLogPath()).find("restart from byte 0: ETag \"older release\""), std::string::npos);
}

// Failures show their message (answered here from the test thread) and
// leave the partial file as it was.
TEST_F(DownloadTest, MissingFileFailsAndKeepsThePartialFile) {
    Write(target_, std::string(3000, 'x'));
    int result = 0;
    std::thread worker([&] { result = RangedDownload(Url("nothing.bin"), target_, Record, 3000); });
    HWND box = probe::WaitForMessageBox(::GetCurrentProcessId(), "信息：", 20000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(probe::MessageBoxText(box), "不能打开该URL!");
    probe::PressButton(box, IDOK);
    worker.join();
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(gCalls.empty());
    EXPECT_EQ(Bytes(target_), std::string(3000, 'x'));
}

// Runs a download that ends in a message box, answers the box and gives
// the result and the box's text.
std::pair<int, std::string> Answered(const std::function<int()>& download) {
    int result = 0;
    std::thread worker([&] { result = download(); });
    HWND box = probe::WaitForMessageBox(::GetCurrentProcessId(), "信息：", 20000);
    std::string text = box ? probe::MessageBoxText(box) : "no box";
    if (box) probe::PressButton(box, IDOK);
    worker.join();
    return {result, text};
}

DownloadLimits Published(std::int64_t size) {
    DownloadLimits limits;
    limits.expectedSize = size;
    return limits;
}

// With a published size, an answer announcing another length is refused
// before a byte is written; the partial file of a resume stays as it was.
TEST_F(DownloadTest, AnnouncedLengthOtherThanThePublishedSizeIsRefused) {
    auto fresh = Answered(
        [&] { return RangedDownload(Url("data.bin"), target_, Record, std::nullopt, Published(99999)); });
    EXPECT_EQ(fresh, std::make_pair(-1, std::string("不能打开该URL!")));
    EXPECT_FALSE(FileExists(target_));

    Write(target_, Served("data.bin").substr(0, 1000));
    auto resumed = Answered([&] { return RangedDownload(Url("data.bin"), target_, Record, 1000, Published(100001)); });
    EXPECT_EQ(resumed, std::make_pair(-1, std::string("不能打开该URL!")));
    EXPECT_EQ(Bytes(target_), Served("data.bin").substr(0, 1000));
    EXPECT_TRUE(gCalls.empty());
    EXPECT_NE(Bytes(UpdateLogPath()).find("refused: the answer announces a file of 100000 bytes, the manifest 100001"),
              std::string::npos);
}

TEST_F(DownloadTest, BodyOfThePublishedSizeIsWritten) {
    for (const char* port : {"DOWNLOAD_PORT", "DOWNLOAD_GZIP_PORT", "DOWNLOAD_NO_LENGTH_PORT"}) {
        SCOPED_TRACE(port);
        RemoveFiles();
        EXPECT_EQ(RangedDownload(Url("data.bin", port), target_, Record, std::nullopt, Published(100000)), 0);
        EXPECT_EQ(Bytes(target_), Served("data.bin"));
    }
}

// A body that goes on past the published size (no length, or encoded) is
// never written past it, and the file is deleted: it is not that release.
TEST_F(DownloadTest, BodyLongerThanThePublishedSizeLeavesNoFile) {
    for (const char* port : {"DOWNLOAD_GZIP_PORT", "DOWNLOAD_NO_LENGTH_PORT"}) {
        SCOPED_TRACE(port);
        RemoveFiles();
        gCalls.clear();
        auto ended = Answered(
            [&] { return RangedDownload(Url("data.bin", port), target_, Record, std::nullopt, Published(50000)); });
        EXPECT_EQ(ended, std::make_pair(-1, std::string("写文件出错!")));
        EXPECT_FALSE(FileExists(target_));
        EXPECT_FALSE(FileExists(identity_));
        ASSERT_FALSE(gCalls.empty());
        EXPECT_LE(gCalls.back().position, 50000);
    }
    EXPECT_NE(Bytes(UpdateLogPath()).find("the body goes past the published size of 50000 bytes"), std::string::npos);
}

// A body that ends short of the published size is a broken transfer: what
// came stays for a resume.
TEST_F(DownloadTest, BodyShorterThanThePublishedSizeIsAReadError) {
    auto ended = Answered([&] {
        return RangedDownload(Url("data.bin", "DOWNLOAD_NO_LENGTH_PORT"), target_, Record, std::nullopt,
                              Published(150000));
    });
    EXPECT_EQ(ended, std::make_pair(-1, std::string("读文件出错!")));
    EXPECT_EQ(Bytes(target_), Served("data.bin"));
}

// Free space as a test sets it: plenty at the first question, then less than
// the floor; and the folder it was asked about.
std::vector<std::string> gAskedFolders;
std::int64_t ShrinkingFreeSpace(const Text& directory) {
    gAskedFolders.push_back(directory);
    return gAskedFolders.size() == 1 ? (std::int64_t{1} << 40) : 1000;
}

DownloadLimits FloorOnly() {
    gAskedFolders.clear();
    DownloadLimits limits;
    limits.freeSpaceFloor = 5000;
    limits.freeSpace = &ShrinkingFreeSpace;
    return limits;
}

// Without a published size, writing stops before the free space falls
// under the floor. A body of announced length keeps what was written for a
// resume; a body of unknown length may be endless: its file is deleted.
TEST_F(DownloadTest, LowFreeSpaceStopsTheWriting) {
    const std::string whole = Served("big.bin");
    auto announced =
        Answered([&] { return RangedDownload(Url("big.bin"), target_, Record, std::nullopt, FloorOnly()); });
    EXPECT_EQ(announced, std::make_pair(-1, std::string("写文件出错!")));
    ASSERT_EQ(gAskedFolders.size(), 2u);
    EXPECT_EQ(gAskedFolders[0], target_.substr(0, target_.find_last_of('\\') + 1));
    const std::string kept = Bytes(target_);
    EXPECT_GE(kept.size(), static_cast<std::size_t>(kFreeSpaceCheckBytes - 10240));
    EXPECT_LE(kept.size(), static_cast<std::size_t>(kFreeSpaceCheckBytes));
    EXPECT_EQ(kept, whole.substr(0, kept.size()));
    EXPECT_TRUE(FileExists(identity_));

    RemoveFiles();
    auto unknown = Answered([&] {
        return RangedDownload(Url("big.bin", "DOWNLOAD_NO_LENGTH_PORT"), target_, Record, std::nullopt, FloorOnly());
    });
    EXPECT_EQ(unknown, std::make_pair(-1, std::string("写文件出错!")));
    EXPECT_FALSE(FileExists(target_));
    EXPECT_NE(Bytes(UpdateLogPath()).find("free space (1000 bytes) would fall under 5000 bytes"), std::string::npos);
}

// The real free space of the temporary folder is far above a floor of one
// byte, and far below one of an exabyte.
TEST_F(DownloadTest, TheSystemsFreeSpaceIsAsked) {
    DownloadLimits limits;
    limits.freeSpaceFloor = 1;
    EXPECT_EQ(RangedDownload(Url("data.bin"), target_, Record, std::nullopt, limits), 0);
    EXPECT_EQ(Bytes(target_), Served("data.bin"));
    limits.freeSpaceFloor = std::int64_t{1} << 60;
    auto ended = Answered([&] { return RangedDownload(Url("data.bin"), target_, Record, std::nullopt, limits); });
    EXPECT_EQ(ended, std::make_pair(-1, std::string("写文件出错!")));
    EXPECT_EQ(Bytes(target_), "");  // nothing written; the file of announced length stays for a resume
}

}  // namespace
