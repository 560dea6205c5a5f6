// The CNG functions (bcrypt.dll) the updater uses, bound through the external
// function table, and owners for their handles. The program runs on Windows 7,
// so one-call BCryptHash (Windows 10) is not used: hashes are made with
// BCryptCreateHash, BCryptHashData and BCryptFinishHash.
#pragma once

#include <windows.h>
#include <bcrypt.h>

#include "runtime/external_function.h"
#include "runtime/unique_handle.h"

namespace cng {

inline ExternalFunction<decltype(::BCryptOpenAlgorithmProvider)> pOpenAlgorithmProvider{
    "bcrypt.dll", "BCryptOpenAlgorithmProvider"};
inline ExternalFunction<decltype(::BCryptCloseAlgorithmProvider)> pCloseAlgorithmProvider{
    "bcrypt.dll", "BCryptCloseAlgorithmProvider"};
inline ExternalFunction<decltype(::BCryptCreateHash)> pCreateHash{"bcrypt.dll", "BCryptCreateHash"};
inline ExternalFunction<decltype(::BCryptHashData)> pHashData{"bcrypt.dll", "BCryptHashData"};
inline ExternalFunction<decltype(::BCryptFinishHash)> pFinishHash{"bcrypt.dll", "BCryptFinishHash"};
inline ExternalFunction<decltype(::BCryptDestroyHash)> pDestroyHash{"bcrypt.dll", "BCryptDestroyHash"};
inline ExternalFunction<decltype(::BCryptImportKeyPair)> pImportKeyPair{"bcrypt.dll", "BCryptImportKeyPair"};
inline ExternalFunction<decltype(::BCryptDestroyKey)> pDestroyKey{"bcrypt.dll", "BCryptDestroyKey"};
inline ExternalFunction<decltype(::BCryptVerifySignature)> pVerifySignature{"bcrypt.dll",
                                                                            "BCryptVerifySignature"};

constexpr ULONG kSha256Size = 32;

inline bool Succeeded(NTSTATUS status) { return status >= 0; }

struct CloseAlgorithm {
    void operator()(BCRYPT_ALG_HANDLE handle) const { pCloseAlgorithmProvider(handle, 0); }
};
struct DestroyHash {
    void operator()(BCRYPT_HASH_HANDLE handle) const { pDestroyHash(handle); }
};
struct DestroyKey {
    void operator()(BCRYPT_KEY_HANDLE handle) const { pDestroyKey(handle); }
};
inline constexpr CloseAlgorithm kCloseAlgorithm{};
inline constexpr DestroyHash kDestroyHash{};
inline constexpr DestroyKey kDestroyKey{};
using AlgorithmHandle = UniqueHandle<NullHandleTraits<BCRYPT_ALG_HANDLE, kCloseAlgorithm>>;
using HashHandle = UniqueHandle<NullHandleTraits<BCRYPT_HASH_HANDLE, kDestroyHash>>;
using KeyHandle = UniqueHandle<NullHandleTraits<BCRYPT_KEY_HANDLE, kDestroyKey>>;

// An open provider of the algorithm (a BCRYPT_*_ALGORITHM name); empty on failure.
inline AlgorithmHandle OpenAlgorithm(LPCWSTR algorithm) {
    BCRYPT_ALG_HANDLE raw = nullptr;
    if (!Succeeded(pOpenAlgorithmProvider(&raw, algorithm, nullptr, 0))) return AlgorithmHandle();
    return AlgorithmHandle(raw);
}

}  // namespace cng
