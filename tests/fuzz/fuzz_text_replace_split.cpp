// Replacing, splitting and space removal on arbitrary bytes: no crash, plus
// properties that tie them to the searches and to each other.
#include "runtime/text.h"
#include "tests/fuzz/text_fuzz_input.h"

#include <algorithm>

namespace {

bool StartsWith(const Text& text, const Text& head) { return text.compare(0, head.size(), head) == 0; }

// The text itself, or the text without its last byte when that byte could be
// a lone lead byte.
bool IsTextOrWithoutLeadByte(const Text& result, const Text& text) {
    if (result == text) return true;
    return !text.empty() && static_cast<unsigned char>(text.back()) >= 0x80 &&
           result == text.substr(0, text.size() - 1);
}

bool HasHighByte(const Text& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

Text Join(const TextArray& members, const Text& delimiter) {
    Text joined;
    for (std::size_t i = 0; i < members.size(); ++i) {
        if (i != 0) joined += delimiter;
        joined += members[i];
    }
    return joined;
}

void CheckReplace(const TextFuzzInput& input) {
    const Text& text = input.text;
    const Text& find = input.needle;
    const bool caseSensitive = (input.flags & 2) != 0;
    const Text replacement = (input.flags & 4) ? Text("<>") : Text();
    const std::size_t begin = input.start < 1 ? 0 : static_cast<std::size_t>(input.start) - 1;
    const Text result = ReplaceInText(text, find, replacement, input.start, input.count, caseSensitive);

    if (text.empty() || find.empty() || begin >= text.size() || input.count == 0) {
        FUZZ_CHECK(result == text);
        return;
    }
    FUZZ_CHECK(StartsWith(result, text.substr(0, begin)));

    // Up to the first match the replacement walks exactly as the search does.
    const int first = FindInText(text, find, input.start, !caseSensitive);
    if (first == -1) {
        FUZZ_CHECK(IsTextOrWithoutLeadByte(result, text));
    } else {
        const std::size_t at = static_cast<std::size_t>(first) - 1;
        FUZZ_CHECK(result.compare(0, at, text, 0, at) == 0);
        FUZZ_CHECK(result.compare(at, replacement.size(), replacement) == 0);
    }

    // Replacing a match by the same bytes keeps the text (a case-sensitive
    // match is byte-exact), apart from a dropped lone lead byte.
    const Text same = ReplaceInText(text, find, find, input.start, input.count, true);
    FUZZ_CHECK(IsTextOrWithoutLeadByte(same, text));
    if (!HasHighByte(text)) FUZZ_CHECK(same == text);
    // Without a replacement the text can only get shorter.
    FUZZ_CHECK(ReplaceInText(text, find, Text(), input.start, input.count, caseSensitive).size() <= text.size());
}

void CheckSplit(const TextFuzzInput& input) {
    const Text& text = input.text;
    const Text& delimiter = input.needle;
    const TextArray all = SplitInText(text, delimiter);
    if (text.empty()) {
        FUZZ_CHECK(all.empty());
        return;
    }
    if (delimiter.empty()) {
        FUZZ_CHECK(all.size() == 1 && all[0] == text);
        return;
    }
    // Members are the stretches between delimiter matches; only a delimiter
    // at the very end leaves no (empty) member behind it.
    FUZZ_CHECK(!all.empty());
    const Text joined = Join(all, delimiter);
    FUZZ_CHECK(joined == text || joined + delimiter == text);

    // A maximum keeps the first members and drops the rest; below 1, none.
    const int maximum = input.count;
    const TextArray limited = SplitInText(text, delimiter, maximum);
    const std::size_t kept = maximum < 1 ? 0 : std::min(all.size(), static_cast<std::size_t>(maximum));
    FUZZ_CHECK(limited == TextArray(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(kept)));
}

// Whether any character of the walk from the start is a space (0x20 or A1 A1);
// a 0x20 or A1 trail byte is part of another character.
bool HasSpaceCharacter(const Text& text) {
    for (std::size_t at : CharacterStarts(text, 0)) {
        if (text[at] == ' ' || text.compare(at, 2, "\xA1\xA1") == 0) return true;
    }
    return false;
}

bool EndsWithSpaceCharacter(const Text& text) {
    const std::vector<std::size_t> starts = CharacterStarts(text, 0);
    if (starts.empty()) return false;
    const std::size_t last = starts.back();
    return text.compare(last, Text::npos, " ") == 0 || text.compare(last, Text::npos, "\xA1\xA1") == 0;
}

void CheckSpaces(const Text& text) {
    const Text trimmed = TrimSpaces(text);
    FUZZ_CHECK(text.find(trimmed) != Text::npos);
    FUZZ_CHECK(!StartsWith(trimmed, " ") && !StartsWith(trimmed, "\xA1\xA1"));
    FUZZ_CHECK(!EndsWithSpaceCharacter(trimmed));
    FUZZ_CHECK(TrimSpaces(trimmed) == trimmed);

    const Text removed = RemoveSpaces(text);
    FUZZ_CHECK(!HasSpaceCharacter(removed));
    FUZZ_CHECK(removed.size() <= text.size());
    FUZZ_CHECK(RemoveSpaces(removed) == removed);
    FUZZ_CHECK(RemoveSpaces(trimmed) == removed);
    if (!HasHighByte(text)) {
        Text expected = text;
        expected.erase(std::remove(expected.begin(), expected.end(), ' '), expected.end());
        FUZZ_CHECK(removed == expected);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TextFuzzInput input = SplitTextFuzzInput(data, size);
    CheckReplace(input);
    CheckSplit(input);
    CheckSpaces(input.text);
    return 0;
}
