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
// Atomic replace where the file system allows it, else copy and delete.
bool ReplaceFileWith(const Text& from, const Text& to);
bool SaveBytesToFile(const Text& name, const ByteArray& bytes);
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
