// The check of a signed manifest with the platform's CNG: ECDSA P-256 with
// SHA-256 over the exact bytes, the signature published as the base64 text
// of r||s (32 big-endian bytes each).
#pragma once

#include <vector>

#include "runtime/value_types.h"

struct SignatureVerdict {
    bool valid = false;
    Text reason;  // why it is not valid, for the log
    std::size_t keyIndex = 0;  // which of several keys verified it (0-based)
};

// publicKeyHex: one key of 128 hexadecimal digits, X then Y, big-endian. Surrounding
// white space of the signature text (a line end) is allowed.
SignatureVerdict VerifySignature(const ByteArray& data, const Text& signatureText, const Text& publicKeyHex);

// Valid when any of the keys verifies the signature (several keys are
// trusted while a vendor rotates its key); keyIndex says which one.
SignatureVerdict VerifySignatureWithAnyKey(const ByteArray& data, const Text& signatureText,
                                           const std::vector<Text>& publicKeysHex);
