#include "runtime/text.h"

#include "runtime/fatal.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr unsigned char kLeadByteMin = 0x80;
constexpr unsigned char kFullWidthSpaceByte = 0xA1;  // A1 A1 is the full-width space

bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= kLeadByteMin; }

// Bytes of the character that starts at `at`: 1, 2, or 0 for a lead byte
// that the end of the text cuts off (the walk ends there).
std::size_t CharWidth(const Text& text, std::size_t at) {
    if (!IsLeadByte(text[at])) return 1;
    return at + 1 < text.size() ? 2 : 0;
}

// Next cursor position; a lone lead byte at the end steps to the end.
std::size_t StepChar(const Text& text, std::size_t at) {
    return IsLeadByte(text[at]) ? std::min(at + 2, text.size()) : at + 1;
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool MatchesAt(const Text& text, std::size_t at, const Text& sought, bool ignoreCase) {
    if (!ignoreCase) return text.compare(at, sought.size(), sought) == 0;
    for (std::size_t i = 0; i < sought.size(); ++i) {
        if (FoldAscii(text[at + i]) != FoldAscii(sought[i])) return false;
    }
    return true;
}

// Width of the space character at `at` (0x20 or A1 A1), or 0 when none.
std::size_t SpaceWidth(const Text& text, std::size_t at) {
    if (text[at] == ' ') return 1;
    if (static_cast<unsigned char>(text[at]) == kFullWidthSpaceByte && at + 1 < text.size() &&
        static_cast<unsigned char>(text[at + 1]) == kFullWidthSpaceByte) {
        return 2;
    }
    return 0;
}

// Scans [begin, end) character by character for `sought`; returns the 0-based
// offset of the first match (forward) or the last one (backward), or npos.
std::size_t ScanRange(const Text& text, std::size_t begin, std::size_t end, const Text& sought,
                      bool ignoreCase, bool lastMatch) {
    std::size_t found = Text::npos;
    std::size_t cursor = begin;
    while (cursor < end && end - cursor >= sought.size()) {
        if (MatchesAt(text, cursor, sought, ignoreCase)) {
            if (!lastMatch) return cursor;
            found = cursor;
        }
        // One character even after a match, so backward matches may overlap.
        cursor = StepChar(text, cursor);
    }
    return found;
}

int ToPosition(std::size_t offset) { return offset == Text::npos ? -1 : static_cast<int>(offset) + 1; }

}  // namespace

int TextLength(const Text& text) { return static_cast<int>(text.size()); }

Text TextLeft(const Text& text, int n) {
    if (n <= 0) return Text();
    return text.substr(0, static_cast<std::size_t>(n));
}

Text TextRight(const Text& text, int n) {
    if (n <= 0) return Text();
    const std::size_t count = std::min(static_cast<std::size_t>(n), text.size());
    return text.substr(text.size() - count);
}

Text TextMiddle(const Text& text, int start, int n) {
    if (start < 1 || static_cast<std::size_t>(start) > text.size() || n <= 0) return Text();
    return text.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(n));
}

Text CharText(std::uint8_t code) {
    if (code == 0) return Text();
    return Text(1, static_cast<char>(code));
}

int FindInText(const Text& text, const Text& sought, int start, bool ignoreCase) {
    const std::size_t length = text.size();
    const std::size_t begin = start > 1 ? static_cast<std::size_t>(start) - 1 : 0;
    if (begin >= length) return -1;
    // An empty sought text matches at 1, wherever the search began.
    if (sought.empty()) return 1;
    return ToPosition(ScanRange(text, begin, length, sought, ignoreCase, false));
}

int FindInTextBackward(const Text& text, const Text& sought, int start, bool ignoreCase) {
    if (start <= 1) return -1;
    const std::size_t end = std::min(static_cast<std::size_t>(start) - 1, text.size());
    if (end == 0) return -1;
    if (sought.empty()) return 1;
    return ToPosition(ScanRange(text, 0, end, sought, ignoreCase, true));
}

Text ToLowerCase(const Text& text) {
    Text lower = text;
    for (std::size_t at = 0; at < lower.size(); at = StepChar(lower, at)) {
        lower[at] = FoldAscii(lower[at]);
    }
    return lower;
}

Text TrimSpaces(const Text& text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t width = SpaceWidth(text, begin);
        if (width == 0) break;
        begin += width;
    }
    // Walk on, remembering where the current run of spaces began; a lone
    // lead byte ends the walk and is left out.
    std::size_t end = begin;
    std::size_t runStart = Text::npos;
    for (std::size_t at = begin; at < text.size();) {
        const std::size_t space = SpaceWidth(text, at);
        if (space != 0) {
            if (runStart == Text::npos) runStart = at;
            at += space;
            continue;
        }
        const std::size_t width = CharWidth(text, at);
        if (width == 0) break;
        runStart = Text::npos;
        at += width;
        end = at;
    }
    return text.substr(begin, end - begin);
}

Text RemoveSpaces(const Text& text) {
    Text result;
    result.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t space = SpaceWidth(text, at);
        if (space != 0) {
            at += space;
            continue;
        }
        const std::size_t width = CharWidth(text, at);
        if (width == 0) break;
        result.append(text, at, width);
        at += width;
    }
    return result;
}

Text ReplaceInText(const Text& text, const Text& find, const Text& replacement, int start, int count,
                   bool caseSensitive) {
    const std::size_t length = text.size();
    const std::size_t begin = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
    if (text.empty() || find.empty() || begin >= length || count == 0) return text;

    Text result = text.substr(0, begin);
    std::size_t cursor = begin;
    int replaced = 0;
    bool walkEnded = false;
    while (length - cursor >= find.size()) {
        if (MatchesAt(text, cursor, find, !caseSensitive)) {
            result += replacement;
            cursor += find.size();
            ++replaced;
            if (replaced == count) break;
            continue;
        }
        const std::size_t width = CharWidth(text, cursor);
        if (width == 0) {
            walkEnded = true;
            break;
        }
        result.append(text, cursor, width);
        cursor += width;
    }
    if (walkEnded) return result;
    // The rest is shorter than find (or the count is used up); it is copied
    // character by character so that a lone lead byte at the end is dropped.
    while (cursor < length) {
        const std::size_t width = CharWidth(text, cursor);
        if (width == 0) break;
        result.append(text, cursor, width);
        cursor += width;
    }
    return result;
}

TextArray SplitInText(const Text& text, const Text& delimiter, std::optional<int> maximum) {
    TextArray members;
    if (text.empty() || (maximum && *maximum < 1)) return members;
    if (delimiter.empty()) {
        members.push_back(text);
        return members;
    }

    const std::size_t length = text.size();
    std::size_t memberStart = 0;
    std::size_t cursor = 0;
    while (cursor < length && length - cursor >= delimiter.size()) {
        if (text.compare(cursor, delimiter.size(), delimiter) == 0) {
            members.push_back(text.substr(memberStart, cursor - memberStart));
            cursor += delimiter.size();
            memberStart = cursor;
            if (maximum && members.size() == static_cast<std::size_t>(*maximum)) return members;
            continue;
        }
        cursor = StepChar(text, cursor);
    }
    // What is left (including a lone lead byte) is the last member.
    if (memberStart < length) members.push_back(text.substr(memberStart));
    return members;
}

Text SpaceText(int n) {
    if (n < 1) return Text();
    return Text(static_cast<std::size_t>(n), ' ');
}

Text TextAtAddress(const char* address) {
    if (address == nullptr) return Text();
    return Text(address, std::strlen(address));
}

const Text& TextArrayMember(const TextArray& array, int number) {
    if (number < 1) FatalRuntimeError("数组成员引用下标必须大于等于1", kFatalIndexBelowOne);
    if (static_cast<std::size_t>(number) > array.size()) {
        FatalRuntimeError("数组成员引用下标超出定义范围", kFatalIndexAboveCount);
    }
    return array[static_cast<std::size_t>(number) - 1];
}
