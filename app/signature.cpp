#include "app/signature.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "app/cng.h"

namespace {

inline ExternalFunction<decltype(::CryptStringToBinaryA)> pCryptStringToBinaryA{"crypt32.dll",
                                                                                 "CryptStringToBinaryA"};

constexpr std::size_t kCoordinateSize = 32;
constexpr std::size_t kSignatureSize = 2 * kCoordinateSize;
constexpr std::size_t kSignatureTextSize = 88;  // base64 of 64 bytes, with its "=="

std::optional<ByteArray> FromHex(const Text& hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    const auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    ByteArray bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = digit(hex[i]), low = digit(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

Text Trimmed(const Text& text) {
    const char* const kSpace = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == Text::npos) return Text();
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

// The 64 signature bytes of the published text; none when it is anything else.
std::optional<ByteArray> DecodeSignature(const Text& signatureText) {
    const Text text = Trimmed(signatureText);
    if (text.size() != kSignatureTextSize) return std::nullopt;
    for (char c : text) {
        const bool base64 = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                            c == '+' || c == '/' || c == '=';
        if (!base64) return std::nullopt;
    }
    ByteArray bytes(kSignatureSize + 3);
    DWORD size = static_cast<DWORD>(bytes.size());
    if (!pCryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64, bytes.data(),
                               &size, nullptr, nullptr) ||
        size != kSignatureSize) {
        return std::nullopt;
    }
    bytes.resize(size);
    return bytes;
}

// The public key as CNG takes it: a BCRYPT_ECCKEY_BLOB header, then X and Y.
cng::KeyHandle ImportPublicKey(const cng::AlgorithmHandle& algorithm, const ByteArray& coordinates) {
    BCRYPT_ECCKEY_BLOB header{};
    header.dwMagic = BCRYPT_ECDSA_PUBLIC_P256_MAGIC;
    header.cbKey = kCoordinateSize;
    std::vector<UCHAR> blob(sizeof header + coordinates.size());
    std::memcpy(blob.data(), &header, sizeof header);
    std::memcpy(blob.data() + sizeof header, coordinates.data(), coordinates.size());
    BCRYPT_KEY_HANDLE raw = nullptr;
    if (!cng::Succeeded(cng::pImportKeyPair(algorithm.Get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &raw, blob.data(),
                                            static_cast<ULONG>(blob.size()), 0))) {
        return cng::KeyHandle();
    }
    return cng::KeyHandle(raw);
}

std::optional<std::vector<UCHAR>> Sha256(const ByteArray& data) {
    if (data.size() > std::numeric_limits<ULONG>::max()) return std::nullopt;
    const cng::AlgorithmHandle algorithm = cng::OpenAlgorithm(BCRYPT_SHA256_ALGORITHM);
    if (!algorithm) return std::nullopt;
    BCRYPT_HASH_HANDLE rawHash = nullptr;
    if (!cng::Succeeded(cng::pCreateHash(algorithm.Get(), &rawHash, nullptr, 0, nullptr, 0, 0))) return std::nullopt;
    const cng::HashHandle hash(rawHash);
    std::vector<UCHAR> digest(cng::kSha256Size);
    // BCryptHashData does not write through its input; the cast only meets its prototype.
    if (!cng::Succeeded(cng::pHashData(hash.Get(), const_cast<PUCHAR>(data.data()),
                                       static_cast<ULONG>(data.size()), 0)) ||
        !cng::Succeeded(cng::pFinishHash(hash.Get(), digest.data(), cng::kSha256Size, 0))) {
        return std::nullopt;
    }
    return digest;
}

SignatureVerdict Invalid(const char* reason) { return SignatureVerdict{false, reason}; }

}  // namespace

SignatureVerdict VerifySignature(const ByteArray& data, const Text& signatureText, const Text& publicKeyHex) {
    const std::optional<ByteArray> coordinates = FromHex(publicKeyHex);
    if (!coordinates || coordinates->size() != kSignatureSize) {
        return Invalid("the built-in public key is not 128 hexadecimal digits");
    }
    std::optional<ByteArray> signature = DecodeSignature(signatureText);
    if (!signature) return Invalid("GX.sig is malformed (not the base64 text of 64 bytes)");

    const cng::AlgorithmHandle algorithm = cng::OpenAlgorithm(BCRYPT_ECDSA_P256_ALGORITHM);
    if (!algorithm) return Invalid("ECDSA P-256 is not available");
    const cng::KeyHandle key = ImportPublicKey(algorithm, *coordinates);
    if (!key) return Invalid("the built-in public key is not a point of P-256");
    std::optional<std::vector<UCHAR>> digest = Sha256(data);
    if (!digest) return Invalid("SHA-256 of the manifest could not be made");

    const NTSTATUS status = cng::pVerifySignature(key.Get(), nullptr, digest->data(),
                                                  static_cast<ULONG>(digest->size()), signature->data(),
                                                  static_cast<ULONG>(signature->size()), 0);
    if (cng::Succeeded(status)) return SignatureVerdict{true, Text()};
    return Invalid("the signature does not match the manifest and the built-in public key");
}
