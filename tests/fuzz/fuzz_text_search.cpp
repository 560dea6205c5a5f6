// Forward and backward searches on arbitrary bytes: no crash, every result is
// a character start at which the needle matches, no earlier (forward) or later
// (backward) character start matches, and both directions agree on absence.
#include "runtime/text.h"
#include "tests/fuzz/text_fuzz_input.h"

#include <algorithm>

namespace {

// Offset of the first (or last) match among the starts that lie in range.
long long Reference(const Text& text, const Text& needle, std::size_t begin, std::size_t end,
                    bool ignoreCase, bool last) {
    long long found = -1;
    for (std::size_t at : CharacterStarts(text, begin)) {
        if (at + needle.size() > end) break;
        if (MatchesForCheck(text, at, needle, ignoreCase)) {
            found = static_cast<long long>(at);
            if (!last) break;
        }
    }
    return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TextFuzzInput input = SplitTextFuzzInput(data, size);
    const Text& text = input.text;
    const Text& needle = input.needle;
    const bool ignoreCase = (input.flags & 1) != 0;
    const std::size_t length = text.size();

    const int forward = FindInText(text, needle, input.start, ignoreCase);
    const std::size_t begin = input.start <= 1 ? 0 : static_cast<std::size_t>(input.start) - 1;
    if (begin >= length) {
        FUZZ_CHECK(forward == -1);
    } else if (needle.empty()) {
        FUZZ_CHECK(forward == 1);
    } else {
        const long long expected = Reference(text, needle, begin, length, ignoreCase, false);
        FUZZ_CHECK(forward == (expected < 0 ? -1 : expected + 1));
        if (forward != -1) {
            FUZZ_CHECK(static_cast<std::size_t>(forward - 1) >= begin);
            FUZZ_CHECK(MatchesForCheck(text, static_cast<std::size_t>(forward - 1), needle, ignoreCase));
        }
    }

    const int backward = FindInTextBackward(text, needle, input.start, ignoreCase);
    const std::size_t end = input.start <= 1 ? 0 : std::min(static_cast<std::size_t>(input.start) - 1, length);
    if (end == 0) {
        FUZZ_CHECK(backward == -1);
    } else if (needle.empty()) {
        FUZZ_CHECK(backward == 1);
    } else {
        const long long expected = Reference(text, needle, 0, end, ignoreCase, true);
        FUZZ_CHECK(backward == (expected < 0 ? -1 : expected + 1));
        if (backward != -1) FUZZ_CHECK(static_cast<std::size_t>(backward) - 1 + needle.size() <= end);
    }

    // Over the whole text both directions walk the same starts.
    const int first = FindInText(text, needle, 1, ignoreCase);
    const int last = FindInTextBackward(text, needle, INT_MAX, ignoreCase);
    FUZZ_CHECK((first == -1) == (last == -1));
    FUZZ_CHECK(first <= last);
    // A backward search limited to a prefix never finds a later match.
    if (!needle.empty()) FUZZ_CHECK(backward <= last);
    return 0;
}
