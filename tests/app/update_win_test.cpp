// The Windows pieces of the update client: download header block and the
// console command runner.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/console_command.h"
#include "app/download.h"

TEST(DownloadHeaders, BlockAndOpenEndedRange) {
    const Text block =
        "Accept: */*\r\nAccept-Language: zh-cn\r\nAccept-Encoding: gzip, deflate\r\n"
        "User-Agent: Mozilla/4.0(compatible; MSIE 6.0; Windows NT 5.0; MyIE2; .NET CLR 1.1.4322)";
    EXPECT_EQ(DownloadRequestHeaders(std::nullopt), block);
    EXPECT_EQ(DownloadRequestHeaders(1000), block + "\r\nRange:bytes=1000-");
    EXPECT_EQ(DownloadRequestHeaders(5000000000LL), block + "\r\nRange:bytes=5000000000-");
}

TEST(ConsoleCommand, PrefixByOsKind) {
    EXPECT_EQ(ConsoleCommandLine("start \"%cd%\" \"Norvane.exe\"", 3),
              "cmd.exe /c start \"%cd%\" \"Norvane.exe\"");
    EXPECT_EQ(ConsoleCommandLine("dir", 2), "command.com /c dir");
}

TEST(ConsoleCommand, FirstChunkOrEmpty) {
    EXPECT_EQ(RunConsoleCommand("echo hello"), "hello\r\n");
    EXPECT_EQ(RunConsoleCommand("exit 0"), "");
    // More output than one read: only the first chunk, at most 1,023 bytes.
    Text longOutput = RunConsoleCommand("for /l %i in (1,1,150) do @echo 0123456789");
    EXPECT_FALSE(longOutput.empty());
    EXPECT_LE(longOutput.size(), 1023u);
    EXPECT_EQ(longOutput.rfind("0123456789\r\n", 0), 0u);
}

// Far more output than a pipe holds: once the first chunk is taken, the
// interpreter's further writes fail instead of blocking, so it goes on to the
// end of its command line.
TEST(ConsoleCommand, InterpreterEndsAfterTheFirstChunkOfALongOutput) {
    char directory[MAX_PATH];
    ::GetTempPathA(MAX_PATH, directory);
    const Text marker = Text(directory) + "console_done_" + std::to_string(::GetCurrentProcessId()) + ".txt";
    ::DeleteFileA(marker.c_str());
    const Text output =
        RunConsoleCommand("(for /l %i in (1,1,5000) do @echo 0123456789) & echo done>\"" + marker + "\"");
    EXPECT_EQ(output.rfind("0123456789\r\n", 0), 0u);
    bool ended = false;
    for (int i = 0; i < 300 && !ended; ++i) {
        ended = ::GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!ended) ::Sleep(100);
    }
    EXPECT_TRUE(ended) << "the interpreter never reached the end of its command line";
    ::DeleteFileA(marker.c_str());
}
