#include "net/text_between.h"

#include "runtime/text.h"

Text TextBetween(const Text& source, const Text& startMarker, const Text& endMarker,
                 int startPosition, bool ignoreCase) {
    const Text start = ReplaceInText(startMarker, "#引号", "\"", 1, kUnlimited, true);
    const Text end = ReplaceInText(endMarker, "#引号", "\"", 1, kUnlimited, true);
    int p1 = FindInText(source, start, startPosition, ignoreCase);
    if (p1 == -1) return Text();
    p1 += TextLength(start);
    int p2 = FindInText(source, end, p1, ignoreCase);
    if (p2 == -1) return Text();
    return TextMiddle(source, p1, p2 - p1);
}
