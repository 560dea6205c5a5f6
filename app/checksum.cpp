#include "app/checksum.h"

#include <cstdint>
#include <vector>

#include "app/cng.h"
#include "runtime/win_handles.h"

namespace {

constexpr DWORD kReadPiece = 1 << 20;
using cng::kSha256Size;
using cng::Succeeded;

Text Hex(const UCHAR* bytes, std::size_t size) {
    static const char kDigits[] = "0123456789abcdef";
    Text hex;
    for (std::size_t i = 0; i < size; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 15];
    }
    return hex;
}

// Hashes what `readPiece` gives (count, 0 at the end, -1 on failure) piece by piece.
template <typename Reader>
std::optional<Text> Sha256Of(Reader readPiece) {
    const cng::AlgorithmHandle algorithm = cng::OpenAlgorithm(BCRYPT_SHA256_ALGORITHM);
    if (!algorithm) return std::nullopt;
    BCRYPT_HASH_HANDLE rawHash = nullptr;
    if (!Succeeded(cng::pCreateHash(algorithm.Get(), &rawHash, nullptr, 0, nullptr, 0, 0))) return std::nullopt;
    const cng::HashHandle hash(rawHash);

    std::vector<UCHAR> buffer(kReadPiece);
    for (;;) {
        const std::int64_t read = readPiece(buffer.data(), kReadPiece);
        if (read < 0) return std::nullopt;
        if (read == 0) break;
        if (!Succeeded(cng::pHashData(hash.Get(), buffer.data(), static_cast<ULONG>(read), 0))) return std::nullopt;
    }
    UCHAR digest[kSha256Size];
    if (!Succeeded(cng::pFinishHash(hash.Get(), digest, kSha256Size, 0))) return std::nullopt;
    return Hex(digest, kSha256Size);
}

}  // namespace

std::optional<Text> FileSha256(const Text& path) {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return std::nullopt;
    return Sha256Of([&](UCHAR* buffer, DWORD size) -> std::int64_t {
        DWORD read = 0;
        return ::ReadFile(file.Get(), buffer, size, &read, nullptr) ? static_cast<std::int64_t>(read) : -1;
    });
}

std::optional<Text> FileSha256(SealedFile& file) {
    if (!file.Rewind()) return std::nullopt;
    return Sha256Of([&](UCHAR* buffer, DWORD size) { return file.Read(buffer, size); });
}
