// The signature's texts on arbitrary bytes: a signature text decodes to 64
// bytes only when it is their base64, and hexadecimal digits decode exactly.
#include "app/signature_text.h"
#include "tests/fuzz/text_fuzz_input.h"

namespace {

Text LowerCase(const Text& text) {
    Text lower = text;
    for (char& c : lower) c = FoldForCheck(c);
    return lower;
}

Text Hex(const ByteArray& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    Text hex;
    for (std::uint8_t b : bytes) {
        hex += kDigits[b >> 4];
        hex += kDigits[b & 15];
    }
    return hex;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text text(reinterpret_cast<const char*>(data), size);

    const std::optional<ByteArray> signature = DecodeSignatureText(text);
    if (signature) {
        FUZZ_CHECK(signature->size() == kSignatureBytes);
        const Text encoded = EncodeBase64(*signature);
        FUZZ_CHECK(encoded.size() == kSignatureTextSize);
        // The text held the same digits, but for padding bits of its last one.
        FUZZ_CHECK(text.find(encoded.substr(0, kSignatureTextSize - 3)) != Text::npos);
        FUZZ_CHECK(DecodeSignatureText(encoded) == signature);
    }
    // Any 64 bytes round-trip through their text.
    if (size >= kSignatureBytes) {
        const ByteArray bytes(data, data + kSignatureBytes);
        FUZZ_CHECK(DecodeSignatureText(EncodeBase64(bytes) + "\r\n") == bytes);
    }

    const std::optional<ByteArray> key = BytesFromHex(text);
    if (key) {
        FUZZ_CHECK(key->size() * 2 == text.size());
        FUZZ_CHECK(Hex(*key) == LowerCase(text));
    }
    return 0;
}
