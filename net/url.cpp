#include "net/url.h"

#include "net/text_between.h"
#include "runtime/conversions.h"
#include "runtime/text.h"

Text UrlHost(const Text& url, bool keepPort) {
    Text u = ToLowerCase(url);
    if (u.empty() || u.back() != '/') u += '/';
    Text host;
    if (TextLeft(u, 8) == "https://") {
        host = TextBetween(u, "https://", "/");
    } else {
        if (FindInText(u, "http://") == -1) u = "http://" + u;
        host = TextBetween(u, "http://", "/");
    }
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

Text UrlPath(const Text& url) {
    Text host = UrlHost(url);
    int a = FindInText(url, host, 1, true);
    int b = FindInText(url, "/", a, true);
    return b > 0 ? TextMiddle(url, b, TextLength(url)) : Text("/");
}
