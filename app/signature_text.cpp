#include "app/signature_text.h"

namespace {

constexpr char kBase64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

Text Trimmed(const Text& text) {
    const char* const kSpace = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == Text::npos) return Text();
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

}  // namespace

std::optional<ByteArray> DecodeSignatureText(const Text& signatureText) {
    const Text text = Trimmed(signatureText);
    constexpr std::size_t kDigits = kSignatureTextSize - 2;
    if (text.size() != kSignatureTextSize || text.compare(kDigits, 2, "==") != 0) return std::nullopt;
    ByteArray bytes;
    bytes.reserve(kSignatureBytes + 1);
    std::uint32_t bits = 0;
    int held = 0;
    for (std::size_t i = 0; i < kDigits; ++i) {
        const int value = Base64Value(text[i]);
        if (value < 0) return std::nullopt;
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes.push_back(static_cast<std::uint8_t>(bits >> held));
            bits &= (1u << held) - 1;
        }
    }
    // 86 digits carry 516 bits: 64 bytes and 4 bits of padding.
    if (bytes.size() != kSignatureBytes) return std::nullopt;
    return bytes;
}

Text EncodeBase64(const ByteArray& bytes) {
    Text text;
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        for (int shift : {18, 12, 6, 0}) text += kBase64Digits[(group >> shift) & 63];
    }
    const std::size_t left = bytes.size() - i;
    if (left) {
        const std::uint32_t group = (bytes[i] << 16) | (left == 2 ? bytes[i + 1] << 8 : 0);
        text += kBase64Digits[(group >> 18) & 63];
        text += kBase64Digits[(group >> 12) & 63];
        text += left == 2 ? kBase64Digits[(group >> 6) & 63] : '=';
        text += '=';
    }
    return text;
}

std::optional<ByteArray> BytesFromHex(const Text& hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    ByteArray bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexValue(hex[i]), low = HexValue(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

std::vector<Text> SplitPublicKeys(const Text& keys) {
    std::vector<Text> split;
    std::size_t at = 0;
    while (at <= keys.size()) {
        std::size_t end = keys.find(',', at);
        if (end == Text::npos) end = keys.size();
        const Text key = Trimmed(keys.substr(at, end - at));
        if (!key.empty()) split.push_back(key);
        at = end + 1;
    }
    return split;
}
