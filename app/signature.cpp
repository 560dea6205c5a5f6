#include "app/signature.h"

#include <windows.h>

#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "app/cng.h"
#include "app/signature_text.h"

namespace {

constexpr std::size_t kCoordinateSize = 32;

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

constexpr char kMismatch[] = "the signature does not match the manifest and the built-in public key";

SignatureVerdict Invalid(const char* reason) { return SignatureVerdict{false, reason}; }

}  // namespace

SignatureVerdict VerifySignature(const ByteArray& data, const Text& signatureText, const Text& publicKeyHex) {
    const std::optional<ByteArray> coordinates = BytesFromHex(publicKeyHex);
    if (!coordinates || coordinates->size() != 2 * kCoordinateSize) {
        return Invalid("the built-in public key is not 128 hexadecimal digits");
    }
    std::optional<ByteArray> signature = DecodeSignatureText(signatureText);
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
    return Invalid(kMismatch);
}

SignatureVerdict VerifySignatureWithAnyKey(const ByteArray& data, const Text& signatureText,
                                           const std::vector<Text>& publicKeysHex) {
    if (publicKeysHex.empty()) return Invalid("there is no built-in public key");
    SignatureVerdict last;
    bool onlyMismatches = true;
    for (std::size_t i = 0; i < publicKeysHex.size(); ++i) {
        last = VerifySignature(data, signatureText, publicKeysHex[i]);
        if (last.valid) {
            last.keyIndex = i;
            return last;
        }
        onlyMismatches = onlyMismatches && last.reason == kMismatch;
    }
    if (publicKeysHex.size() > 1 && onlyMismatches) {
        last.reason = "the signature does not match the manifest and any of the " +
                      std::to_string(publicKeysHex.size()) + " built-in public keys";
    }
    return last;
}
