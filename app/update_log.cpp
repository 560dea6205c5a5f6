#include "app/update_log.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <mutex>

#include "runtime/win_handles.h"

namespace {

std::mutex gLogLock;
Text gLogPath;  // empty: beside the program
std::atomic<bool> gExitLogged{false};

Text DefaultLogPath() {
    char path[MAX_PATH];
    const DWORD size = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (size == 0 || size >= MAX_PATH) return Text();
    Text program(path, size);
    const std::size_t slash = program.find_last_of("\\/");
    return (slash == Text::npos ? Text() : program.substr(0, slash + 1)) + "updater.log";
}

Text LinePrefix() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "%04u-%02u-%02u %02u:%02u:%02u.%03u [%lu] ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds,
                  static_cast<unsigned long>(::GetCurrentThreadId()));
    return prefix;
}

std::int64_t SizeOf(const Text& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Keeps the log within its bound: the full log becomes the older one.
void MakeRoomFor(const Text& path, std::size_t lineSize) {
    if (SizeOf(path) + static_cast<std::int64_t>(lineSize) <= kUpdateLogLimit) return;
    ::MoveFileExA(path.c_str(), (path + ".1").c_str(), MOVEFILE_REPLACE_EXISTING);
}

void Append(const Text& path, const Text& line) {
    FileHandle file(::CreateFileA(path.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace

Text UpdateLogPath() {
    std::lock_guard<std::mutex> guard(gLogLock);
    return gLogPath.empty() ? DefaultLogPath() : gLogPath;
}

void SetUpdateLogPath(const Text& path) {
    std::lock_guard<std::mutex> guard(gLogLock);
    gLogPath = path;
}

void LogEvent(const Text& event) {
    Text line = LinePrefix();
    // One event is one line: line breaks in a message are written as \r \n.
    for (char c : event) {
        if (c == '\r') line += "\\r";
        else if (c == '\n') line += "\\n";
        else line += c;
    }
    line += "\r\n";
    std::lock_guard<std::mutex> guard(gLogLock);
    const Text path = gLogPath.empty() ? DefaultLogPath() : gLogPath;
    if (path.empty()) return;
    MakeRoomFor(path, line.size());
    Append(path, line);
}

void LogExit(int exitCode) {
    if (gExitLogged.exchange(true)) return;
    LogEvent("exit code " + std::to_string(exitCode));
}

void LogEndWithoutCode() {
    if (gExitLogged.exchange(true)) return;
    LogEvent("the main window closed: exit code 0");
}
