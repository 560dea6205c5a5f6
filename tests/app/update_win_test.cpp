// The Windows pieces of the update client: download header block, the
// console command runner and the message boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/console_command.h"
#include "app/download.h"
#include "app/message_box.h"

TEST(DownloadHeaders, BlockAndOpenEndedRange) {
    const Text block =
        "Accept: */*\r\nAccept-Language: zh-cn\r\nAccept-Encoding: gzip, deflate\r\n"
        "User-Agent: Mozilla/4.0(compatible; MSIE 6.0; Windows NT 5.0; MyIE2; .NET CLR 1.1.4322)";
    EXPECT_EQ(DownloadRequestHeaders(std::nullopt), block);
    EXPECT_EQ(DownloadRequestHeaders(1000), block + "\r\nRange:bytes=1000-");
    EXPECT_EQ(DownloadRequestHeaders(5000000000LL), block + "\r\nRange:bytes=5000000000-");
}

TEST(ConsoleCommand, InterpreterOfTheSystemDirectoryWithoutAutoRun) {
    const ConsoleInterpreter nt = ConsoleCommandLine("start \"%cd%\" \"Norvane.exe\"", 3, "C:\\Windows\\system32");
    EXPECT_EQ(nt.application, "C:\\Windows\\system32\\cmd.exe");
    EXPECT_EQ(nt.commandLine, "\"C:\\Windows\\system32\\cmd.exe\" /d /c start \"%cd%\" \"Norvane.exe\"");
    const ConsoleInterpreter old = ConsoleCommandLine("dir", 2, "C:\\Windows\\system");
    EXPECT_EQ(old.application, "");
    EXPECT_EQ(old.commandLine, "command.com /c dir");
}

TEST(ConsoleCommand, EnvironmentWithoutOneVariable) {
    using namespace std::string_literals;
    const std::wstring block = L"=C:=C:\\dir\0ALLUSERSPROFILE=C:\\x\0cd=a=b\0CDPATH=y\0Cd=z\0PATH=p\0XCD=q\0\0"s;
    EXPECT_EQ(EnvironmentWithout(block.c_str(), L"CD"), L"=C:=C:\\dir\0ALLUSERSPROFILE=C:\\x\0CDPATH=y\0PATH=p\0XCD=q\0\0"s);
    EXPECT_EQ(EnvironmentWithout(L"CD=1\0\0", L"CD"), L"\0\0"s);
    EXPECT_EQ(EnvironmentWithout(L"\0\0", L"CD"), L"\0\0"s);
}

// A variable CD takes the place of the interpreter's own %cd% (Wine's cmd
// does so); one holding quotes and "&" would run commands of its own.
TEST(ConsoleCommand, VariableCdIsNotPassedToTheInterpreter) {
    ASSERT_TRUE(::SetEnvironmentVariableA("CD", "x\" & echo planted & \""));
    const Text output = RunConsoleCommand("echo [\"%cd%\"]");
    ::SetEnvironmentVariableA("CD", nullptr);
    char current[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, current);
    // Wine's interpreter may write the line end separately.
    EXPECT_EQ(output.substr(0, output.find('\r')), "[\"" + Text(current) + "\"]");
}

TEST(ConsoleCommand, FirstChunkOrEmpty) {
    // The first chunk is what the pipe holds when it is first seen: Wine's
    // interpreter writes the text and its line end in two writes, so the line
    // end may come too late for it.
    const Text hello = RunConsoleCommand("echo hello");
    EXPECT_TRUE(hello == "hello\r\n" || hello == "hello") << hello;
    EXPECT_EQ(RunConsoleCommand("exit 0"), "");
    // More output than one read: only the first chunk, at most 1,023 bytes.
    Text longOutput = RunConsoleCommand("for /l %i in (1,1,150) do @echo 0123456789");
    EXPECT_FALSE(longOutput.empty());
    EXPECT_LE(longOutput.size(), 1023u);
    EXPECT_EQ(longOutput.rfind("0123456789", 0), 0u);
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
    EXPECT_EQ(output.rfind("0123456789", 0), 0u);
    bool ended = false;
    for (int i = 0; i < 300 && !ended; ++i) {
        ended = ::GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!ended) ::Sleep(100);
    }
    EXPECT_TRUE(ended) << "the interpreter never reached the end of its command line";
    ::DeleteFileA(marker.c_str());
}

namespace {

std::string BinDirectory() {
    char path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, n);
    return full.substr(0, full.find_last_of('\\'));
}

constexpr char kServedCaption[] = "console-runner-served";

// Sends the window a text, and only if the window's thread served that
// message shows the box the console command waits for.
DWORD WINAPI SendThenShowBox(LPVOID window) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(static_cast<HWND>(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("served"),
                               SMTO_NORMAL, 15000, &result)) {
        return 1;
    }
    ::MessageBoxA(nullptr, "served", kServedCaption, MB_OK);
    return 0;
}

HWND FindOwnBox(const char* caption) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        HWND box = ::FindWindowA("#32770", caption);
        if (box && ::IsWindowVisible(box)) return box;
        ::Sleep(50);
    }
    return nullptr;
}

HICON BoxIcon(HWND box) {
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            return reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
        }
    }
    return nullptr;
}

struct BoxCall {
    int style;
    const char* caption;
};

DWORD WINAPI ShowBox(LPVOID call) {
    const auto* box = static_cast<const BoxCall*>(call);
    return static_cast<DWORD>(SkinnedMessageBox(nullptr, "text", box->style, box->caption));
}

}  // namespace

// The command waits for a box that another thread shows only after this
// thread, inside the wait, has served its sent message.
TEST(ConsoleCommand, ServesTheCallersMessagesWhileItWaits) {
    HWND window = ::CreateWindowExA(0, "Static", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    HANDLE sender = ::CreateThread(nullptr, 0, SendThenShowBox, window, 0, nullptr);
    const Text output = RunConsoleCommand("\"" + BinDirectory() + "\\uia.exe\" press " + kServedCaption +
                                          " 1 20000");
    EXPECT_EQ(output, "served\r\n");
    char text[32] = {};
    ::GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "served");
    if (::WaitForSingleObject(sender, 20000) == WAIT_TIMEOUT) {
        if (HWND box = ::FindWindowA("#32770", kServedCaption)) ::PostMessageA(box, WM_CLOSE, 0, 0);
        ::WaitForSingleObject(sender, 10000);
    }
    ::CloseHandle(sender);
    ::DestroyWindow(window);
}

TEST(MessageBoxes, StylesTwentyAndThirtyShowTheQuestionAndExclamationIcons) {
    const struct {
        int style;
        LPCSTR icon;
    } cases[] = {{0x20, IDI_QUESTION}, {0x30, IDI_EXCLAMATION}};
    for (const auto& c : cases) {
        BoxCall call{c.style, "icon-box"};
        HANDLE thread = ::CreateThread(nullptr, 0, ShowBox, &call, 0, nullptr);
        HWND box = FindOwnBox(call.caption);
        ASSERT_NE(box, nullptr) << c.style;
        EXPECT_EQ(BoxIcon(box), ::LoadIconA(nullptr, c.icon)) << c.style;
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_EQ(::WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
        DWORD result = 99;
        ::GetExitCodeThread(thread, &result);
        EXPECT_EQ(result, 0u) << c.style;  // OK
        ::CloseHandle(thread);
    }
}
