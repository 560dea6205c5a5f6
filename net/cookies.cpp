#include "net/cookies.h"

#include <algorithm>

#include "runtime/text.h"

namespace {

Text JoinWith(const TextArray& members, const Text& separator) {
    Text joined;
    for (size_t i = 0; i < members.size(); ++i) {
        if (i) joined += separator;
        joined += members[i];
    }
    return joined;
}

}  // namespace

Text ExtractSetCookies(const Text& responseHeaders) {
    static const Text kHeaderName = "set-cookie:";
    Text result;
    for (const Text& line : SplitInText(responseHeaders, "\r\n")) {
        // Only a header whose name is Set-Cookie counts, not one that merely
        // contains it ("X-Set-Cookie-Info").
        if (ToLowerCase(TextLeft(line, TextLength(kHeaderName))) != kHeaderName) continue;
        Text value = TextMiddle(line, TextLength(kHeaderName) + 1, TextLength(line));
        int semicolon = FindInText(value, ";");
        if (semicolon != -1) value = TextLeft(value, semicolon - 1);
        result += TrimSpaces(value) + "; ";
    }
    return TextLeft(result, TextLength(result) - 2);
}

Text CookieName(const Text& cookie) {
    int equals = FindInText(cookie, "=");
    return TrimSpaces(equals == -1 ? cookie : TextLeft(cookie, equals - 1));
}

Text MergeCookies(Text& cookies, Text& newCookies) {
    cookies = RemoveSpaces(cookies);
    newCookies = RemoveSpaces(newCookies);
    TextArray merged = SplitInText(newCookies, ";");
    for (const Text& old : SplitInText(cookies, ";")) {
        Text name = CookieName(old);
        bool setAgain = std::any_of(merged.begin(), merged.end(),
                                    [&](const Text& entry) { return CookieName(entry) == name; });
        if (!setAgain) merged.push_back(old);
    }
    Text joined;
    for (const Text& entry : merged) {
        if (TextRight(entry, 8) != "=deleted") joined += entry + "; ";
    }
    joined = TextLeft(joined, TextLength(joined) - 2);
    TextArray unique;
    for (const Text& entry : SplitInText(joined, "; ")) {
        if (std::find(unique.begin(), unique.end(), entry) == unique.end()) unique.push_back(entry);
    }
    cookies = JoinWith(unique, "; ");
    return cookies;
}
