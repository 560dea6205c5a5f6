#include "runtime/files.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstddef>
#include <map>
#include <mutex>
#include <vector>

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
    return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
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

Text DirectoryOfFile(const Text& path) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '\\' || c == '/') {
            end = i + 1;
        } else if (::IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < path.size()) {
            ++i;
        }
    }
    return path.substr(0, end);
}

std::int64_t FreeBytesOfVolume(const Text& directory) {
    ULARGE_INTEGER available{};
    if (!::GetDiskFreeSpaceExA(directory.c_str(), &available, nullptr, nullptr)) return -1;
    return available.QuadPart > static_cast<ULONGLONG>(INT64_MAX) ? INT64_MAX
                                                                   : static_cast<std::int64_t>(available.QuadPart);
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

bool FlushDataFile(FileNumber file) {
    HANDLE handle = Lookup(file);
    return handle != INVALID_HANDLE_VALUE && ::FlushFileBuffers(handle);
}

std::int64_t DataFilePosition(FileNumber file) {
    HANDLE handle = Lookup(file);
    return handle == INVALID_HANDLE_VALUE ? -1 : Position(handle);
}

namespace {

// A token's information of one class, in a buffer of the size it asks for.
std::vector<BYTE> TokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind) {
    DWORD size = 0;
    ::GetTokenInformation(token, kind, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !::GetTokenInformation(token, kind, buffer.data(), size, &size)) return {};
    return buffer;
}

Text FullPath(const Text& name) {
    const DWORD size = ::GetFullPathNameA(name.c_str(), 0, nullptr, nullptr);
    if (size == 0) return Text();
    Text full(size, '\0');
    const DWORD written = ::GetFullPathNameA(name.c_str(), size, full.data(), nullptr);
    if (written == 0 || written >= size) return Text();
    full.resize(written);
    return full;
}

// Asks the file system to write a directory's entries to the disk. Not every
// file system or system allows it on a directory: failing is harmless.
void FlushDirectoryOf(const Text& fullPath) {
    const Text directory = DirectoryOfFile(fullPath);
    if (directory.empty()) return;
    FileHandle handle(::CreateFileA(directory.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle) ::FlushFileBuffers(handle.Get());
}

}  // namespace

FileOwner FileOwnerOf(const Text& name) {
    DWORD size = 0;
    ::GetFileSecurityA(name.c_str(), OWNER_SECURITY_INFORMATION, nullptr, 0, &size);
    if (size == 0) return FileOwner::Unknown;
    std::vector<BYTE> descriptor(size);
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (!::GetFileSecurityA(name.c_str(), OWNER_SECURITY_INFORMATION, descriptor.data(), size, &size) ||
        !::GetSecurityDescriptorOwner(descriptor.data(), &owner, &defaulted) || !owner) {
        return FileOwner::Unknown;
    }
    HANDLE rawToken = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return FileOwner::Unknown;
    const KernelHandle token(rawToken);
    const std::vector<BYTE> user = TokenInformation(token.Get(), TokenUser);
    const std::vector<BYTE> defaultOwner = TokenInformation(token.Get(), TokenOwner);
    if (user.empty()) return FileOwner::Unknown;
    if (::EqualSid(owner, reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid)) return FileOwner::ThisUser;
    if (!defaultOwner.empty() && ::EqualSid(owner, reinterpret_cast<const TOKEN_OWNER*>(defaultOwner.data())->Owner)) {
        return FileOwner::ThisUser;
    }
    return FileOwner::Other;
}

// Write access only serves the flush after the rename; the sharing (read
// only) is what keeps every other handle from changing the file.
SealedFile::SealedFile(const Text& name)
    : handle_(::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
    if (handle_ == INVALID_HANDLE_VALUE) lastError_ = ::GetLastError();
}

SealedFile::~SealedFile() { Close(); }

bool SealedFile::IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

void SealedFile::Close() {
    if (IsOpen()) ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

std::int64_t SealedFile::Size() const {
    LARGE_INTEGER size{};
    if (!IsOpen() || !::GetFileSizeEx(handle_, &size)) return -1;
    return size.QuadPart;
}

bool SealedFile::Rewind() { return IsOpen() && SetPosition(handle_, 0); }

std::int64_t SealedFile::Read(void* buffer, std::uint32_t size) {
    DWORD read = 0;
    if (!IsOpen() || !::ReadFile(handle_, buffer, size, &read, nullptr)) {
        lastError_ = IsOpen() ? ::GetLastError() : ERROR_INVALID_HANDLE;
        return -1;
    }
    return read;
}

bool SealedFile::ReplaceInto(const Text& target) {
    const Text full = FullPath(target);
    if (!IsOpen() || full.empty()) {
        lastError_ = IsOpen() ? ::GetLastError() : ERROR_INVALID_HANDLE;
        return false;
    }
    // FILE_RENAME_INFO ends in the new name's UTF-16 characters; the
    // buffer is kept in 8-byte units for the handle member's alignment.
    const int characters = ::MultiByteToWideChar(CP_ACP, 0, full.c_str(), -1, nullptr, 0);
    if (characters <= 1) {
        lastError_ = ::GetLastError();
        return false;
    }
    const std::size_t nameBytes = static_cast<std::size_t>(characters - 1) * sizeof(WCHAR);
    const std::size_t size = offsetof(FILE_RENAME_INFO, FileName) + nameBytes + sizeof(WCHAR);
    std::vector<std::uint64_t> storage((size + 7) / 8);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(storage.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    ::MultiByteToWideChar(CP_ACP, 0, full.c_str(), -1, rename->FileName, characters);
    if (!::SetFileInformationByHandle(handle_, FileRenameInfo, rename, static_cast<DWORD>(size))) {
        lastError_ = ::GetLastError();
        return false;
    }
    // What MOVEFILE_WRITE_THROUGH does for a move: the renamed file's data
    // and entry are on the disk before the rename counts as done.
    ::FlushFileBuffers(handle_);
    Close();
    FlushDirectoryOf(full);
    return true;
}
