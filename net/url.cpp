#include "net/url.h"

#include "net/text_between.h"
#include "runtime/conversions.h"
#include "runtime/text.h"

namespace {

// Length of a leading "http://" or "https://" (any case), else 0.
int SchemeLength(const Text& url) {
    const Text head = ToLowerCase(TextLeft(url, 8));
    if (head == "https://") return 8;
    if (TextLeft(head, 7) == "http://") return 7;
    return 0;
}

}  // namespace

Text UrlHost(const Text& url, bool keepPort) {
    Text rest = ToLowerCase(TextMiddle(url, SchemeLength(url) + 1, TextLength(url)));
    int slash = FindInText(rest, "/");
    Text host = slash == -1 ? rest : TextLeft(rest, slash - 1);
    if (keepPort) return host;
    int colon = FindInText(host, ":");
    return colon == -1 ? host : TextLeft(host, colon - 1);
}

int UrlPort(const Text& url) {
    Text host = UrlHost(url, true);
    int colon = FindInTextBackward(host, ":");
    if (colon == -1) return ToLowerCase(TextLeft(url, 5)) == "https" ? 443 : 80;
    return ToInteger(TextMiddle(host, colon + 1, TextLength(host)));
}

bool IsUsablePort(int port) { return port >= 0 && port <= 65535; }

Text UrlPath(const Text& url) {
    int slash = FindInText(url, "/", SchemeLength(url) + 1);
    return slash > 0 ? TextMiddle(url, slash, TextLength(url)) : Text("/");
}
