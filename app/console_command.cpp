#include "app/console_command.h"

#include <windows.h>

#include <cwchar>
#include <cwctype>

#include "runtime/processes.h"
#include "runtime/program.h"
#include "runtime/win_handles.h"
#include "runtime/window_ops.h"

namespace {

constexpr DWORD kWaitSliceMs = 50;

bool SameNameIgnoringCase(const wchar_t* entry, std::size_t length, const std::wstring& name) {
    if (length != name.size()) return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (::towupper(entry[i]) != ::towupper(name[i])) return false;
    }
    return true;
}

Text SystemDirectory() {
    char path[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
    return length && length < MAX_PATH ? Text(path, length) : Text();
}

// This process's environment without CD.
std::wstring ChildEnvironment() {
    wchar_t* block = ::GetEnvironmentStringsW();
    if (!block) return std::wstring(2, L'\0');
    std::wstring environment = EnvironmentWithout(block, L"CD");
    ::FreeEnvironmentStringsW(block);
    return environment;
}

}  // namespace

ConsoleInterpreter ConsoleCommandLine(const Text& command, int osKind, const Text& systemDirectory) {
    if (osKind <= 2) return {Text(), "command.com /c " + command};
    const Text interpreter = systemDirectory + "\\cmd.exe";
    return {interpreter, "\"" + interpreter + "\" /d /c " + command};
}

std::wstring EnvironmentWithout(const wchar_t* block, const std::wstring& name) {
    std::wstring kept;
    for (const wchar_t* entry = block; *entry; entry += std::wcslen(entry) + 1) {
        // "=C:=C:\\dir" entries start with '=': their name runs to the second one.
        const wchar_t* equals = std::wcschr(entry + 1, L'=');
        const std::size_t nameLength = equals ? static_cast<std::size_t>(equals - entry) : std::wcslen(entry);
        if (SameNameIgnoringCase(entry, nameLength, name)) continue;
        kept.append(entry, std::wcslen(entry) + 1);
    }
    kept.push_back(L'\0');
    if (kept.size() == 1) kept.push_back(L'\0');  // an empty block still ends in two zeros
    return kept;
}

Text RunConsoleCommand(const Text& command) {
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
    HANDLE readRaw = nullptr;
    HANDLE writeRaw = nullptr;
    if (!::CreatePipe(&readRaw, &writeRaw, &attributes, 0)) return Text();
    KernelHandle readEnd(readRaw);
    KernelHandle writeEnd(writeRaw);
    // Only the write end goes to the interpreter. Were the read end inherited
    // too, the interpreter would keep its own output pipe open after we stop
    // reading, and block for ever once more than a pipe buffer is written.
    ::SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);

    ConsoleInterpreter interpreter = ConsoleCommandLine(command, OsKind(), SystemDirectory());
    std::wstring environment = ChildEnvironment();
    const Text directory = ProgramDirectory();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    PROCESS_INFORMATION info{};
    BOOL started = ::CreateProcessA(interpreter.application.empty() ? nullptr : interpreter.application.c_str(),
                                    interpreter.commandLine.data(), nullptr, nullptr, TRUE,
                                    CREATE_UNICODE_ENVIRONMENT, environment.data(),
                                    directory.empty() ? nullptr : directory.c_str(), &startup, &info);
    writeEnd.Reset();
    if (!started) return Text();
    KernelHandle process(info.hProcess);
    KernelHandle thread(info.hThread);

    for (;;) {
        DWORD available = 0;
        if (::PeekNamedPipe(readEnd.Get(), nullptr, 0, nullptr, &available, nullptr) && available) {
            char buffer[1024] = {};
            DWORD read = 0;
            ::ReadFile(readEnd.Get(), buffer, 1023, &read, nullptr);
            return Text(buffer);  // up to the first zero byte
        }
        DWORD code = 0;
        if (!::GetExitCodeProcess(process.Get(), &code) || code != STILL_ACTIVE) {
            // Output written just before the end is still in the pipe.
            if (::PeekNamedPipe(readEnd.Get(), nullptr, 0, nullptr, &available, nullptr) && available) {
                continue;
            }
            return Text();
        }
        ProcessPendingEvents();
        // Sleep until the interpreter ends or a message arrives, instead of spinning.
        HANDLE waitOn = process.Get();
        ::MsgWaitForMultipleObjects(1, &waitOn, FALSE, kWaitSliceMs, QS_ALLINPUT);
    }
}
