// System services on the real Win32 API (under Wine).
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "runtime/config.h"
#include "runtime/files.h"
#include "runtime/processes.h"
#include "runtime/window_ops.h"
#include "tests/support/window_probe.h"

namespace {

class TempDir : public ::testing::Test {
protected:
    void SetUp() override {
        char base[MAX_PATH];
        ::GetTempPathA(MAX_PATH, base);
        dir_ = std::string(base) + "rt" + std::to_string(::GetCurrentProcessId()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ::CreateDirectoryA(dir_.c_str(), nullptr);
    }
    void TearDown() override {
        WIN32_FIND_DATAA data;
        HANDLE find = ::FindFirstFileA((dir_ + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                ::SetFileAttributesA((dir_ + "\\" + data.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA((dir_ + "\\" + data.cFileName).c_str());
            } while (::FindNextFileA(find, &data));
            ::FindClose(find);
        }
        ::RemoveDirectoryA(dir_.c_str());
    }
    std::string Path(const std::string& name) const { return dir_ + "\\" + name; }
    void Write(const std::string& name, const std::string& content) const {
        std::ofstream(Path(name), std::ios::binary) << content;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string dir_;
};

using Files = TempDir;
using Ini = TempDir;
using Terminate = TempDir;

TEST_F(Files, ExistenceAndSize) {
    Write("a.bin", std::string(1234, 'x'));
    EXPECT_TRUE(FileExists(Path("a.bin")));
    EXPECT_TRUE(FileExists(dir_));  // a directory counts
    EXPECT_TRUE(FileExists(Path("*.bin")));
    EXPECT_FALSE(FileExists(Path("missing.bin")));
    EXPECT_FALSE(FileExists(""));
    EXPECT_EQ(FileSize(Path("a.bin")), 1234);
    EXPECT_EQ(FileSize64(Path("a.bin")), 1234);
    EXPECT_EQ(FileSize(Path("missing.bin")), -1);
}

TEST_F(Files, RelocateOntoExistingTargetOverwritesIt) {
    Write("from.txt", "new");
    Write("to.txt", "old contents");
    EXPECT_TRUE(RelocateFile(Path("from.txt"), Path("to.txt")));
    EXPECT_EQ(Read("to.txt"), "new");
    EXPECT_FALSE(FileExists(Path("from.txt")));
    EXPECT_FALSE(RelocateFile(Path("missing.txt"), Path("to.txt")));
    EXPECT_EQ(Read("to.txt"), "new");
}

TEST_F(Files, ReplaceKeepsTargetWhenSourceIsMissing) {
    Write("to.txt", "installed");
    EXPECT_FALSE(ReplaceFileWith(Path("missing.tmp"), Path("to.txt")));
    EXPECT_EQ(Read("to.txt"), "installed");
    Write("new.tmp", "update");
    EXPECT_TRUE(ReplaceFileWith(Path("new.tmp"), Path("to.txt")));
    EXPECT_EQ(Read("to.txt"), "update");
}

// A target another program holds open (sharing reading and writing, not
// deleting) cannot be renamed over; it is never copied over either, since a
// copy broken off halfway would destroy it.
TEST_F(Files, ReplaceNeverCopiesOverAHeldTarget) {
    Write("to.exe", "installed program");
    Write("new.tmp", "update");
    HANDLE held = ::CreateFileA(Path("to.exe").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ReplaceFileWith(Path("new.tmp"), Path("to.exe")));
    ::CloseHandle(held);
    EXPECT_EQ(Read("to.exe"), "installed program");
    EXPECT_EQ(Read("new.tmp"), "update");
}

// While a finished file is held, no other handle may write, delete or rename
// it; what is read through the hold is what the rename puts in place.
TEST_F(Files, SealedFileDeniesWritersAndRenamesThroughItsHandle) {
    Write("to.exe", "installed program");
    Write("new.tmp", "checked update");
    SealedFile sealed(Path("new.tmp"));
    ASSERT_TRUE(sealed.IsOpen()) << sealed.LastError();
    EXPECT_EQ(sealed.Size(), 14);

    const DWORD everyShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    for (DWORD access : {DWORD{GENERIC_WRITE}, DWORD{FILE_APPEND_DATA}, DWORD{DELETE}}) {
        HANDLE other = ::CreateFileA(Path("new.tmp").c_str(), access, everyShare, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(other, INVALID_HANDLE_VALUE) << "access " << std::hex << access;
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        if (other != INVALID_HANDLE_VALUE) ::CloseHandle(other);
    }
    EXPECT_FALSE(::DeleteFileA(Path("new.tmp").c_str()));
    EXPECT_FALSE(::MoveFileExA(Path("new.tmp").c_str(), Path("moved.tmp").c_str(), 0));
    HANDLE reader =
        ::CreateFileA(Path("new.tmp").c_str(), GENERIC_READ, everyShare, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);  // reading stays allowed
    ::CloseHandle(reader);

    char bytes[32] = {};
    ASSERT_TRUE(sealed.Rewind());
    EXPECT_EQ(sealed.Read(bytes, sizeof bytes), 14);
    EXPECT_EQ(std::string(bytes, 14), "checked update");
    EXPECT_EQ(sealed.Read(bytes, sizeof bytes), 0);

    ASSERT_TRUE(sealed.ReplaceInto(Path("to.exe"))) << sealed.LastError();
    EXPECT_FALSE(sealed.IsOpen());
    EXPECT_EQ(Read("to.exe"), "checked update");
    EXPECT_FALSE(FileExists(Path("new.tmp")));
}

TEST_F(Files, SealedFileKeepsEverythingWhenTheTargetIsHeld) {
    Write("to.exe", "installed program");
    Write("new.tmp", "update");
    HANDLE held = ::CreateFileA(Path("to.exe").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SealedFile sealed(Path("new.tmp"));
    ASSERT_TRUE(sealed.IsOpen());
    EXPECT_FALSE(sealed.ReplaceInto(Path("to.exe")));
    EXPECT_NE(sealed.LastError(), 0u);
    // Still held under its own name.
    EXPECT_TRUE(sealed.IsOpen());
    EXPECT_EQ(::CreateFileA(Path("new.tmp").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    sealed.Close();
    ::CloseHandle(held);
    EXPECT_EQ(Read("to.exe"), "installed program");
    EXPECT_EQ(Read("new.tmp"), "update");

    // Another program writing the file: it cannot be held at all.
    HANDLE writer = ::CreateFileA(Path("new.tmp").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                  FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    SealedFile refused(Path("new.tmp"));
    EXPECT_FALSE(refused.IsOpen());
    EXPECT_EQ(refused.LastError(), static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
    ::CloseHandle(writer);
}

TEST_F(Files, DirectoryOfAFileKeepsDoubleByteCharacters) {
    // 0x95 0x5C is one GBK character: its second byte is no backslash.
    EXPECT_EQ(DirectoryOfFile("C:\\dir\\a.tmp"), "C:\\dir\\");
    EXPECT_EQ(DirectoryOfFile("C:\\\x95\x5c\\a.tmp"), "C:\\\x95\x5c\\");
    EXPECT_EQ(DirectoryOfFile("C:\\dir\\\x95\x5c.tmp"), "C:\\dir\\");
    EXPECT_EQ(DirectoryOfFile("a.tmp"), "");
}

TEST_F(Files, NewFilesBelongToThisUser) {
    Write("mine.tmp", "x");
    EXPECT_EQ(FileOwnerOf(Path("mine.tmp")), FileOwner::ThisUser);
    EXPECT_EQ(FileOwnerOf(Path("missing.tmp")), FileOwner::Unknown);
}

TEST_F(Files, SaveBytesCreatesOrTruncates) {
    Write("s.bin", "a much longer old content");
    EXPECT_TRUE(SaveBytesToFile(Path("s.bin"), ByteArray{'h', 'i', 0, '!'}));
    EXPECT_EQ(Read("s.bin"), std::string("hi\0!", 4));
    EXPECT_FALSE(SaveBytesToFile("", ByteArray{1}));
}

TEST_F(Files, OpenModesCreateKeepOrRequire) {
    EXPECT_EQ(OpenDataFile(Path("none.bin"), 1), 0);  // must exist
    EXPECT_EQ(OpenDataFile(Path("none.bin"), 7), 0);
    EXPECT_EQ(OpenDataFile(Path("none.bin"), 5, 5), 0);
    EXPECT_EQ(OpenDataFile("", 4), 0);

    Write("keep.bin", "12345");
    FileNumber keep = OpenDataFile(Path("keep.bin"), 5);
    ASSERT_NE(keep, 0);
    EXPECT_EQ(DataFilePosition(keep), 0);
    ASSERT_TRUE(SeekDataFileEnd(keep));
    ASSERT_TRUE(WriteDataFile(keep, ByteArray{'6'}));
    CloseDataFile(keep);
    EXPECT_EQ(Read("keep.bin"), "123456");

    FileNumber truncate = OpenDataFile(Path("keep.bin"), 4);
    ASSERT_NE(truncate, 0);
    CloseDataFile(truncate);
    EXPECT_EQ(Read("keep.bin"), "");

    // A closed number is unknown: calls report false and do nothing.
    EXPECT_FALSE(SeekDataFileEnd(truncate));
    EXPECT_FALSE(WriteDataFile(truncate, ByteArray{'x'}));
    CloseDataFile(truncate);
}

TEST_F(Files, ExclusiveSharingLocksOthersOut) {
    FileNumber exclusive = OpenDataFile(Path("x.bin"), 6, 4);
    ASSERT_NE(exclusive, 0);
    EXPECT_EQ(OpenDataFile(Path("x.bin"), 1, 1), 0);
    CloseDataFile(exclusive);
    FileNumber readOnlyShare = OpenDataFile(Path("x.bin"), 1, 3);  // others may only read
    ASSERT_NE(readOnlyShare, 0);
    EXPECT_EQ(OpenDataFile(Path("x.bin"), 2, 1), 0);
    FileNumber reader = OpenDataFile(Path("x.bin"), 1, 1);
    EXPECT_NE(reader, 0);
    CloseDataFile(reader);
    CloseDataFile(readOnlyShare);
}

TEST_F(Files, FailedWriteRestoresThePosition) {
    Write("r.bin", "abc");
    FileNumber readOnly = OpenDataFile(Path("r.bin"), 1);  // opened for reading only
    ASSERT_NE(readOnly, 0);
    ASSERT_TRUE(SeekDataFileEnd(readOnly));
    EXPECT_EQ(DataFilePosition(readOnly), 3);
    EXPECT_FALSE(WriteDataFile(readOnly, ByteArray{'d', 'e'}));
    EXPECT_EQ(DataFilePosition(readOnly), 3);
    CloseDataFile(readOnly);
    EXPECT_EQ(Read("r.bin"), "abc");
}

TEST_F(Ini, EmptyKeyIsEmptyButMissingItemIsTheDefault) {
    Write("config.ini", "[配置]\r\n当前版本号=1.0\r\n");
    const std::string file = Path("config.ini");
    EXPECT_EQ(ReadIniItem(file, "配置", "当前版本号"), "1.0");
    EXPECT_EQ(ReadIniItem(file, "  配置", " \t当前版本号", "d"), "1.0");
    EXPECT_EQ(ReadIniItem(file, "配置", "", "default"), "");
    EXPECT_EQ(ReadIniItem(file, "配置", "   ", "default"), "");
    EXPECT_EQ(ReadIniItem(file, "配置", "missing", "default"), "default");
    EXPECT_EQ(ReadIniItem(Path("nofile.ini"), "配置", "当前版本号", "d"), "d");
    EXPECT_EQ(ReadIniItem(Path("nofile.ini"), "配置", "当前版本号"), "");
}

TEST(Environment, ReadsSetAndUnsetVariables) {
    ::SetEnvironmentVariableA("UPDATER_TEST_VAR", "值");
    EXPECT_EQ(ReadEnvVar("UPDATER_TEST_VAR"), "值");
    EXPECT_EQ(ReadEnvVar("UPDATER_TEST_VAR_UNSET"), "");
}

TEST(Messages, ResultsAreNumberedFromZero) {
    EXPECT_EQ(MessageBoxResult(IDOK), 0);
    EXPECT_EQ(MessageBoxResult(IDCANCEL), 1);
    EXPECT_EQ(MessageBoxResult(IDYES), 5);
    EXPECT_EQ(MessageBoxResult(IDNO), 6);
    EXPECT_EQ(MessageBoxResult(12345), 0);
}

DWORD WINAPI AnswerInfoBox(LPVOID parameter) {
    auto* seen = static_cast<std::string*>(parameter);
    HWND box = probe::WaitForMessageBox(::GetCurrentProcessId(), "信息：", 10000);
    if (box) {
        *seen = probe::MessageBoxText(box);
        probe::PressButton(box, IDOK);
    }
    return 0;
}

TEST(Messages, ShowMessageUsesTheDefaultCaptionAndReturnsZeroForOk) {
    std::string seen;
    HANDLE answerer = ::CreateThread(nullptr, 0, AnswerInfoBox, &seen, 0, nullptr);
    EXPECT_EQ(ShowMessage("你好", 0), 0);
    ::WaitForSingleObject(answerer, 10000);
    ::CloseHandle(answerer);
    EXPECT_EQ(seen, "你好");
}

TEST_F(Terminate, ByExeNameAndByTitle) {
    // A copy under a name and a title of this run only, so that probes of
    // other test runs on the machine are never hit.
    const std::string unique = "probe" + std::to_string(::GetCurrentProcessId());
    const std::string exe = Path(unique + ".exe");
    ASSERT_TRUE(::CopyFileA((probe::BinDirectory() + "\\runtime_probe.exe").c_str(), exe.c_str(), FALSE));
    const std::string command = "\"" + exe + "\" form-with-worker \"" + unique + " form\"";

    probe::Child child;
    ASSERT_TRUE(probe::Start(child, command));
    ASSERT_NE(probe::WaitForWindow(child.id, "", unique + " form", 10000), nullptr);
    EXPECT_TRUE(ProcessExists(unique + ".EXE"));
    EXPECT_TRUE(TerminateProcessByName(unique + ".Exe"));  // case-insensitive name
    EXPECT_EQ(child.Wait(10000), 0u);
    EXPECT_FALSE(TerminateProcessByName(""));
    EXPECT_FALSE(TerminateProcessByName(unique + "-missing.exe"));

    probe::Child second;
    ASSERT_TRUE(probe::Start(second, command));
    ASSERT_NE(probe::WaitForWindow(second.id, "", unique + " form", 10000), nullptr);
    EXPECT_TRUE(TerminateProcessByName(unique + " form"));  // by window title
    EXPECT_EQ(second.Wait(10000), 0u);
}

// The update run stops the program of its own installation only: not one of
// the same name in another directory, not the owner of a window titled with
// that name, and it waits until the process is gone.
TEST_F(Terminate, ByImagePathOnlyThatFile) {
    const std::string source = probe::BinDirectory() + "\\runtime_probe.exe";
    const std::string elsewhere = Path("elsewhere");
    ASSERT_TRUE(::CreateDirectoryA(elsewhere.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileA(source.c_str(), Path("Norvane.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(source.c_str(), (elsewhere + "\\Norvane.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(source.c_str(), Path("titled.exe").c_str(), FALSE));
    {
        probe::Child installed, other, titled;
        ASSERT_TRUE(probe::Start(installed, "\"" + Path("Norvane.exe") + "\" form-with-worker \"installed form\""));
        ASSERT_TRUE(probe::Start(other, "\"" + elsewhere + "\\Norvane.exe\" form-with-worker \"other form\""));
        ASSERT_TRUE(probe::Start(titled, "\"" + Path("titled.exe") + "\" form-with-worker Norvane.exe"));
        ASSERT_NE(probe::WaitForWindow(installed.id, "", "installed form", 10000), nullptr);
        ASSERT_NE(probe::WaitForWindow(other.id, "", "other form", 10000), nullptr);
        ASSERT_NE(probe::WaitForWindow(titled.id, "", "Norvane.exe", 10000), nullptr);

        // Another spelling of the same file: case, "." and "/" differ.
        const ProcessStopReport report = StopProcessesByImagePath(dir_ + "\\.\\elsewhere\\..//NORVANE.exe", 5000);
        EXPECT_EQ(report.found, 1);
        EXPECT_EQ(report.stillRunning, 0);
        EXPECT_EQ(installed.Wait(0), 0u) << "not ended, or not waited for";
        EXPECT_EQ(other.Wait(0), static_cast<DWORD>(STILL_ACTIVE)) << "a Norvane.exe of another directory was stopped";
        EXPECT_EQ(titled.Wait(0), static_cast<DWORD>(STILL_ACTIVE)) << "the owner of a window titled Norvane.exe was stopped";

        const ProcessStopReport none = StopProcessesByImagePath(Path("Norvane.exe"), 5000);
        EXPECT_EQ(none.found, 0);
        EXPECT_EQ(StopProcessesByImagePath("", 5000).found, 0);
        for (probe::Child* left : {&other, &titled}) {
            ::TerminateProcess(left->process, 0);
            left->Wait(5000);
        }
    }
    ::DeleteFileA((elsewhere + "\\Norvane.exe").c_str());
    ::RemoveDirectoryA(elsewhere.c_str());
}

DWORD WINAPI AnswerNo(LPVOID parameter) {
    if (HWND box = probe::WaitForMessageBox(::GetCurrentProcessId(), "问题", 10000)) {
        *static_cast<bool*>(parameter) = true;
        probe::PressButton(box, IDNO);
    }
    return 0;
}

TEST(Messages, ShowMessageMapsNoToSixAndKeepsTheCaption) {
    bool answered = false;
    HANDLE answerer = ::CreateThread(nullptr, 0, AnswerNo, &answered, 0, nullptr);
    EXPECT_EQ(ShowMessage("继续?", MB_YESNO | MB_ICONQUESTION, "问题"), 6);
    ::WaitForSingleObject(answerer, 10000);
    ::CloseHandle(answerer);
    EXPECT_TRUE(answered);
}

TEST(Processes, RunProgramWaitsForTheEnd) {
    EXPECT_TRUE(RunProgram("cmd.exe /c exit 0", true, 1));
    EXPECT_FALSE(RunProgram("no-such-program-at-all.exe", true));
}

TEST(Processes, PendingEventsLeaveQuitQueued) {
    ::PostThreadMessageA(::GetCurrentThreadId(), WM_USER + 1, 0, 0);
    ::PostQuitMessage(5);
    ::PostThreadMessageA(::GetCurrentThreadId(), WM_USER + 2, 0, 0);
    ProcessPendingEvents();
    MSG message;
    ASSERT_TRUE(::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

struct ProgramEnd : TempDir {
    DWORD RunProbe(const std::string& mode, std::string* boxText) {
        probe::Child child;
        EXPECT_TRUE(probe::Start(child, "\"" + probe::BinDirectory() + "\\runtime_probe.exe\" " + mode, dir_));
        if (boxText) {
            HWND box = probe::WaitForMessageBox(child.id, "错误", 10000);
            EXPECT_NE(box, nullptr);
            if (box) {
                *boxText = probe::MessageBoxText(box);
                probe::PressButton(box, IDOK);
            }
        }
        return child.Wait(10000);
    }
};

TEST_F(ProgramEnd, FromAWorkerThreadGoesThroughTheWindowThread) {
    EXPECT_EQ(RunProbe("end-from-worker", nullptr), 7u);
    EXPECT_TRUE(FileExists(Path("cleanup-ran.txt")));  // the clean-up ran before the exit
}

TEST_F(ProgramEnd, FatalErrorsShowTheBoxAndExitWithMinusOne) {
    const struct {
        const char* mode;
        const char* code;
        const char* message;
    } cases[] = {
        {"divide-by-zero", "", "不能整除于零"},
        {"remainder-by-zero", "", "不能求余数于零"},
        {"bad-type", "", "“欲取出数据的类型”参数值无效"},
        {"index-above-count", "错误代码：1\r\n\r\n", "数组成员引用下标超出定义范围"},
        {"missing-function", "", "无法找到指定DLL库文件“kernel32.dll”中的输出命令“NoSuchExportAnywhere”"},
        {"missing-library", "", "无法找到指定DLL库文件“no_such_library.dll”中的输出命令“Anything”"},
        // Named without a path, a library beside the program is not looked for there.
        {"library-beside-the-program", "", "无法找到指定DLL库文件“probe_ordinals.dll”中的输出命令“#7”"},
    };
    for (const auto& c : cases) {
        std::string text;
        EXPECT_EQ(RunProbe(c.mode, &text), static_cast<DWORD>(-1)) << c.mode;
        // Wine's box drops the line breaks from the static text it reports.
        std::string expected = std::string("运行时出错!\r\n\r\n") + c.code + "错误信息：" + c.message + "\r\n";
        std::string flat;
        for (char ch : expected) if (ch != '\r' && ch != '\n') flat += ch;
        std::string seen;
        for (char ch : text) if (ch != '\r' && ch != '\n') seen += ch;
        EXPECT_EQ(seen, flat) << c.mode;
    }
}

TEST_F(ProgramEnd, RunningOutOfMemoryShowsTheBoxAndExitsWithMinusOne) {
    const std::string huge = sizeof(void*) == 8 ? "1125899906842624" : "2147483648";
    const struct {
        const char* mode;
        std::string bytes;
    } cases[] = {
        {"allocate-too-much", huge},
        // A bad_alloc thrown past a thread entry or a window procedure, with
        // no size to report.
        {"bad-alloc-in-thread", "0"},
        {"bad-alloc-in-window-procedure", "0"},
    };
    for (const auto& c : cases) {
        std::string text;
        EXPECT_EQ(RunProbe(c.mode, &text), static_cast<DWORD>(-1)) << c.mode;
        EXPECT_NE(text.find("错误信息：分配 " + c.bytes + " 字节内存失败!"), std::string::npos)
            << c.mode << ": " << text;
    }
}

TEST_F(ProgramEnd, BoundLibrariesStayLoadedUntilTheProcessEnds) {
    // The probe library ends its process with 9 if it is unloaded first.
    EXPECT_EQ(RunProbe("end-inside-library", nullptr), 0u);
}

TEST_F(ProgramEnd, ExternalFunctionsBindByOrdinal) {
    EXPECT_EQ(RunProbe("by-ordinal", nullptr), 0u);
}

TEST_F(ProgramEnd, RestrictedSearchPassesOverTheProgramDirectory) {
    EXPECT_EQ(RunProbe("restricted-search", nullptr), 0u);
}

TEST_F(ProgramEnd, ProgramIconFallsBackToTheDefaultIconName) {
    EXPECT_EQ(RunProbe("icon", nullptr), 0u);
}

TEST_F(ProgramEnd, ClosingTheFormEndsWithZeroWhileAWorkerRuns) {
    probe::Child child;
    ASSERT_TRUE(probe::Start(child, "\"" + probe::BinDirectory() + "\\runtime_probe.exe\" form-with-worker"));
    HWND form = probe::WaitForWindow(child.id, "", "probe form", 10000);
    ASSERT_NE(form, nullptr);
    ::PostMessageA(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(child.Wait(10000), 0u);
}

}  // namespace
