// Marker cutting, URL splitting and cookies on arbitrary bytes: no crash, and
// the properties the web request relies on.
#include <cstdlib>

#include "net/cookies.h"
#include "net/text_between.h"
#include "net/url.h"
#include "tests/fuzz/text_fuzz_input.h"

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "property violated: %s\n", what);
        std::abort();
    }
}

bool HasAsciiUpper(const Text& text) {
    // Only bytes outside double-byte characters are folded.
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            ++i;
        } else if (c >= 'A' && c <= 'Z') {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TextFuzzInput input = SplitTextFuzzInput(data, size);
    const Text& text = input.text;

    // The cut value lies inside the source, right after a start marker.
    Text cut = TextBetween(text, input.needle, "]", input.start, input.flags & 1);
    Check(cut.size() <= text.size(), "cut longer than the source");
    if (!cut.empty()) Check(text.find(cut) != Text::npos, "cut is not part of the source");

    Text host = UrlHost(text);
    Check(!HasAsciiUpper(host), "host not lower case");
    for (std::size_t at : CharacterStarts(host, 0)) {
        // A trail byte may be 0x2F; only a whole character "/" ends the host.
        Check(host[at] != '/', "host holds a slash");
    }
    Text hostWithPort = UrlHost(text, true);
    Check(hostWithPort.compare(0, host.size(), host) == 0, "host is not a prefix of host:port");
    (void)UrlPort(text);
    Text path = UrlPath(text);
    Check(!path.empty() && path[0] == '/', "path does not start with a slash");
    // Anything but the fallback "/" is the URL's own end, after the host.
    if (path != "/") {
        Check(text.size() >= path.size() && text.compare(text.size() - path.size(), path.size(), path) == 0,
              "path is not the end of the URL");
        Check(text.size() - path.size() >= host.size(), "path overlaps the host");
    }

    Text cookies = ExtractSetCookies(text);
    Check(cookies.size() <= text.size(), "more cookie text than header text");
    Text old = input.needle + "; " + text.substr(0, text.size() / 2);
    Text fresh = cookies;
    Text merged = MergeCookies(old, fresh);
    Check(merged == old, "merge result differs from the caller's text");
    Text again = merged;
    Text none;
    Text remerged = MergeCookies(again, none);
    Check(remerged.size() <= merged.size(), "merging nothing grew the text");
    (void)CookieName(text);
    return 0;
}
