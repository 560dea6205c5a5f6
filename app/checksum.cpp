#include "app/checksum.h"

#include <windows.h>
#include <bcrypt.h>

#include <vector>

#include "runtime/external_function.h"
#include "runtime/unique_handle.h"
#include "runtime/win_handles.h"

namespace {

inline ExternalFunction<decltype(::BCryptOpenAlgorithmProvider)> pBCryptOpenAlgorithmProvider{
    "bcrypt.dll", "BCryptOpenAlgorithmProvider"};
inline ExternalFunction<decltype(::BCryptCloseAlgorithmProvider)> pBCryptCloseAlgorithmProvider{
    "bcrypt.dll", "BCryptCloseAlgorithmProvider"};
inline ExternalFunction<decltype(::BCryptCreateHash)> pBCryptCreateHash{"bcrypt.dll", "BCryptCreateHash"};
inline ExternalFunction<decltype(::BCryptHashData)> pBCryptHashData{"bcrypt.dll", "BCryptHashData"};
inline ExternalFunction<decltype(::BCryptFinishHash)> pBCryptFinishHash{"bcrypt.dll", "BCryptFinishHash"};
inline ExternalFunction<decltype(::BCryptDestroyHash)> pBCryptDestroyHash{"bcrypt.dll", "BCryptDestroyHash"};

constexpr DWORD kReadPiece = 1 << 20;
constexpr ULONG kSha256Size = 32;

bool Succeeded(NTSTATUS status) { return status >= 0; }

struct CloseAlgorithm {
    void operator()(BCRYPT_ALG_HANDLE handle) const { pBCryptCloseAlgorithmProvider(handle, 0); }
};
struct DestroyHash {
    void operator()(BCRYPT_HASH_HANDLE handle) const { pBCryptDestroyHash(handle); }
};
constexpr CloseAlgorithm kCloseAlgorithm{};
constexpr DestroyHash kDestroyHash{};
using AlgorithmHandle = UniqueHandle<NullHandleTraits<BCRYPT_ALG_HANDLE, kCloseAlgorithm>>;
using HashHandle = UniqueHandle<NullHandleTraits<BCRYPT_HASH_HANDLE, kDestroyHash>>;

Text Hex(const UCHAR* bytes, std::size_t size) {
    static const char kDigits[] = "0123456789abcdef";
    Text hex;
    for (std::size_t i = 0; i < size; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 15];
    }
    return hex;
}

}  // namespace

std::optional<Text> FileSha256(const Text& path) {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return std::nullopt;

    BCRYPT_ALG_HANDLE rawAlgorithm = nullptr;
    if (!Succeeded(pBCryptOpenAlgorithmProvider(&rawAlgorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
        return std::nullopt;
    }
    AlgorithmHandle algorithm(rawAlgorithm);
    BCRYPT_HASH_HANDLE rawHash = nullptr;
    if (!Succeeded(pBCryptCreateHash(algorithm.Get(), &rawHash, nullptr, 0, nullptr, 0, 0))) return std::nullopt;
    HashHandle hash(rawHash);

    std::vector<UCHAR> buffer(kReadPiece);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), buffer.data(), kReadPiece, &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        if (!Succeeded(pBCryptHashData(hash.Get(), buffer.data(), read, 0))) return std::nullopt;
    }
    UCHAR digest[kSha256Size];
    if (!Succeeded(pBCryptFinishHash(hash.Get(), digest, kSha256Size, 0))) return std::nullopt;
    return Hex(digest, kSha256Size);
}
