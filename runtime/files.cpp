#include "runtime/files.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <mutex>

#include "runtime/win_handles.h"

namespace {

// The table itself is locked; each file number is used by one thread at a time.
struct OpenFileTable {
    std::mutex lock;
    std::map<FileNumber, FileHandle> files;
    FileNumber next = 1;
};

OpenFileTable& Table() {
    static OpenFileTable* table = new OpenFileTable;
    return *table;
}

HANDLE Lookup(FileNumber file) {
    OpenFileTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    auto found = table.files.find(file);
    return found == table.files.end() ? INVALID_HANDLE_VALUE : found->second.Get();
}

bool FirstEntry(const Text& name, WIN32_FIND_DATAA* data) {
    if (name.empty()) return false;
    FindHandle find(::FindFirstFileA(name.c_str(), data));
    return find.IsValid();
}

bool SetPosition(HANDLE file, std::int64_t position, DWORD method = FILE_BEGIN) {
    LARGE_INTEGER distance;
    distance.QuadPart = position;
    return ::SetFilePointerEx(file, distance, nullptr, method) != 0;
}

std::int64_t Position(HANDLE file) {
    LARGE_INTEGER zero{}, now{};
    if (!::SetFilePointerEx(file, zero, &now, FILE_CURRENT)) return -1;
    return now.QuadPart;
}

}  // namespace

bool FileExists(const Text& name) {
    WIN32_FIND_DATAA data;
    return FirstEntry(name, &data);
}

std::int64_t FileSize64(const Text& name) {
    WIN32_FIND_DATAA data;
    if (!FirstEntry(name, &data)) return -1;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int FileSize(const Text& name) {
    WIN32_FIND_DATAA data;
    if (!FirstEntry(name, &data)) return -1;
    return static_cast<int>(data.nFileSizeLow);
}

bool RemoveFile(const Text& name) { return ::DeleteFileA(name.c_str()) != 0; }

bool RelocateFile(const Text& from, const Text& to) {
    if (::MoveFileA(from.c_str(), to.c_str())) return true;
    if (!::CopyFileA(from.c_str(), to.c_str(), FALSE)) return false;
    ::DeleteFileA(from.c_str());
    return true;
}

bool ReplaceFileWith(const Text& from, const Text& to) {
    if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    return RelocateFile(from, to);
}

bool SaveBytesToFile(const Text& name, const ByteArray& bytes) {
    if (name.empty()) return false;
    FileHandle file(::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) || written != chunk) {
            return false;
        }
        done += written;
    }
    return true;
}

ByteArray ReadBytesFromFile(const Text& name) {
    constexpr LONGLONG kLargest = 256LL << 20;
    FileHandle file(::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart > kLargest) {
        return ByteArray();
    }
    ByteArray bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return ByteArray();
    bytes.resize(read);
    return bytes;
}

FileNumber OpenDataFile(const Text& name, int mode, int sharing) {
    if (name.empty() || mode < 1 || mode > 6 || sharing < 1 || sharing > 4) return 0;
    static const DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE,
                                    GENERIC_WRITE, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    static const DWORD kCreation[] = {OPEN_EXISTING, OPEN_EXISTING, OPEN_EXISTING,
                                      CREATE_ALWAYS, OPEN_ALWAYS,   OPEN_ALWAYS};
    static const DWORD kShare[] = {FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_SHARE_WRITE,
                                   FILE_SHARE_READ, 0};
    FileHandle file(::CreateFileA(name.c_str(), kAccess[mode - 1], kShare[sharing - 1], nullptr,
                                  kCreation[mode - 1], FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0;
    OpenFileTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    FileNumber number = table.next++;
    table.files.emplace(number, std::move(file));
    return number;
}

void CloseDataFile(FileNumber file) {
    OpenFileTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    table.files.erase(file);
}

bool SeekDataFileEnd(FileNumber file) {
    HANDLE handle = Lookup(file);
    return handle != INVALID_HANDLE_VALUE && SetPosition(handle, 0, FILE_END);
}

bool WriteDataFile(FileNumber file, const void* data, std::size_t size) {
    HANDLE handle = Lookup(file);
    if (handle == INVALID_HANDLE_VALUE) return false;
    if (size == 0) return true;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < size) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(handle, bytes + done, chunk, &written, nullptr) || written != chunk) {
            // Back to where the call began: before the bytes this call wrote.
            std::int64_t now = Position(handle);
            if (now >= 0) SetPosition(handle, now - static_cast<std::int64_t>(done + written));
            return false;
        }
        done += written;
    }
    return true;
}

bool WriteDataFile(FileNumber file, const ByteArray& bytes) {
    return WriteDataFile(file, bytes.data(), bytes.size());
}

bool TruncateDataFile(FileNumber file) {
    HANDLE handle = Lookup(file);
    return handle != INVALID_HANDLE_VALUE && ::SetEndOfFile(handle);
}

std::int64_t DataFilePosition(FileNumber file) {
    HANDLE handle = Lookup(file);
    return handle == INVALID_HANDLE_VALUE ? -1 : Position(handle);
}
