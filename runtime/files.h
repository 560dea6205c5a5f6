// Files and directories, and the table of open data files.
#pragma once

#include <cstdint>

#include "runtime/value_types.h"

bool FileExists(const Text& name);  // wildcards match; a directory counts
int FileSize(const Text& name);     // low 32 bits; -1 when missing
// The whole 64-bit size (resuming large downloads); -1 when missing.
std::int64_t FileSize64(const Text& name);
bool RemoveFile(const Text& name);
// Move; if that fails, copy over the target and delete the source.
bool RelocateFile(const Text& from, const Text& to);
// Renames `from` over `to` (same volume), written through to the disk. It
// never copies: a copy broken off halfway would destroy the target, so on
// failure both files stay as they were.
bool ReplaceFileWith(const Text& from, const Text& to);
bool SaveBytesToFile(const Text& name, const ByteArray& bytes);
// The folder part of a path, with its final separator ("" without one). A
// GBK character whose second byte is 0x5C is not taken for a backslash.
Text DirectoryOfFile(const Text& path);
// Bytes this user may still write on the volume holding `directory`; -1
// when the system cannot tell.
std::int64_t FreeBytesOfVolume(const Text& directory);
// The whole file; empty when it is missing, unreadable or over 256 MB.
ByteArray ReadBytesFromFile(const Text& name);

// Open modes: 1 read, 2 write, 3 read/write (must exist), 4 write (create or
// truncate), 5 write (create if missing), 6 read/write (create if missing).
// Sharing: 1 read and write, 2 write only, 3 read only, 4 exclusive.
using FileNumber = int;
FileNumber OpenDataFile(const Text& name, int mode = 3, int sharing = 1);
void CloseDataFile(FileNumber file);
bool SeekDataFileEnd(FileNumber file);
// Writes at the current position; on failure the position goes back to where
// it was before the call and the result is false.
bool WriteDataFile(FileNumber file, const ByteArray& bytes);
bool WriteDataFile(FileNumber file, const void* data, std::size_t size);
bool TruncateDataFile(FileNumber file);  // cut at the current position
// Writes what the system still buffers of the file to the disk.
bool FlushDataFile(FileNumber file);
std::int64_t DataFilePosition(FileNumber file);  // -1 for an unknown number

// Closes an open data file when it goes out of scope.
class ScopedDataFile {
public:
    explicit ScopedDataFile(FileNumber number) : number_(number) {}
    ~ScopedDataFile() { CloseDataFile(number_); }
    ScopedDataFile(const ScopedDataFile&) = delete;
    ScopedDataFile& operator=(const ScopedDataFile&) = delete;
    FileNumber Get() const { return number_; }

private:
    FileNumber number_;
};

// Whose a file is: the owner recorded in its security descriptor, compared
// with the user this process runs as and the default owner of what it
// creates (an elevated process makes files owned by the administrators).
enum class FileOwner { ThisUser, Other, Unknown };
FileOwner FileOwnerOf(const Text& name);

// A finished file held for its check and its move into place. It is opened
// for reading and deleting and shares reading only, so while it is held no
// other handle can write, delete or rename it: the bytes read through it are
// the bytes that are put in place.
class SealedFile {
public:
    explicit SealedFile(const Text& name);
    ~SealedFile();
    SealedFile(const SealedFile&) = delete;
    SealedFile& operator=(const SealedFile&) = delete;

    bool IsOpen() const;
    std::int64_t Size() const;  // -1 when not open
    bool Rewind();
    // Reads up to `size` bytes at the current position: the count read, 0 at
    // the end, -1 on failure.
    std::int64_t Read(void* buffer, std::uint32_t size);
    // Renames the held file over `target` (same volume) through this handle
    // and flushes the directory entry where the file system allows. It never
    // copies; on failure the file stays held under its own name and the
    // target is untouched. The file is closed after a rename.
    bool ReplaceInto(const Text& target);
    void Close();
    // The system's error code of the last failing call.
    std::uint32_t LastError() const { return lastError_; }

private:
    void* handle_;
    std::uint32_t lastError_ = 0;
};
