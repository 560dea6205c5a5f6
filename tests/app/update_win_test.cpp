// The Windows pieces of the update client: download header block and the
// console command runner.
#include <windows.h>

#include <gtest/gtest.h>

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
    // (Kept below one pipe buffer, so the interpreter ends on its own after
    // the read end is closed.)
    Text longOutput = RunConsoleCommand("for /l %i in (1,1,150) do @echo 0123456789");
    EXPECT_FALSE(longOutput.empty());
    EXPECT_LE(longOutput.size(), 1023u);
    EXPECT_EQ(longOutput.rfind("0123456789\r\n", 0), 0u);
}
