// The texts of a manifest signature (portable): the published signature,
// base64 of r||s, and the built-in public key as hexadecimal digits.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "runtime/value_types.h"

constexpr std::size_t kSignatureBytes = 64;      // r||s, 32 big-endian bytes each
constexpr std::size_t kSignatureTextSize = 88;  // base64 of 64 bytes, with its "=="

// The 64 signature bytes of the published text: exactly 86 base64 digits
// and "==", white space allowed around them (a line end). None for anything
// else.
std::optional<ByteArray> DecodeSignatureText(const Text& signatureText);

// The base64 text of the given bytes (with "=" padding).
Text EncodeBase64(const ByteArray& bytes);

// Bytes of an even number of hexadecimal digits in either case; none for
// anything else.
std::optional<ByteArray> BytesFromHex(const Text& hex);

// The built-in public keys: one or more separated by commas (white space
// around each allowed), in their order; empty parts are dropped.
std::vector<Text> SplitPublicKeys(const Text& keys);
