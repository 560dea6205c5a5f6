#include "app/console_command.h"

#include <windows.h>

#include "runtime/processes.h"
#include "runtime/win_handles.h"
#include "runtime/window_ops.h"

namespace {

constexpr DWORD kWaitSliceMs = 50;

}  // namespace

Text ConsoleCommandLine(const Text& command, int osKind) {
    return (osKind > 2 ? "cmd.exe /c " : "command.com /c ") + command;
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

    Text commandLine = ConsoleCommandLine(command, OsKind());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    PROCESS_INFORMATION info{};
    BOOL started = ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                    nullptr, &startup, &info);
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
