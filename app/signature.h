// The check of a signed manifest with the platform's CNG: ECDSA P-256 with
// SHA-256 over the exact bytes, the signature published as the base64 text
// of r||s (32 big-endian bytes each).
#pragma once

#include "runtime/value_types.h"

struct SignatureVerdict {
    bool valid = false;
    Text reason;  // why it is not valid, for the log
};

// publicKeyHex: 128 hexadecimal digits, X then Y, big-endian. Surrounding
// white space of the signature text (a line end) is allowed.
SignatureVerdict VerifySignature(const ByteArray& data, const Text& signatureText, const Text& publicKeyHex);
