#include "net/request_headers.h"

#include "net/text_between.h"
#include "runtime/text.h"

void CompleteRequestHeaders(Text& headers, const Text& url, const Text& cookies) {
    if (headers.empty()) {
        headers = "Accept: */*";
    } else if (FindInText(headers, "Accept:") == -1) {
        headers += "\r\nAccept: */*";
    }
    if (FindInText(headers, "Referer:") == -1) headers += "\r\nReferer: " + url;
    if (FindInText(headers, "Accept-Language:") == -1) headers += "\r\nAccept-Language: zh-cn";
    if (FindInText(headers, "Content-Type:") == -1) {
        headers += "\r\nContent-Type: application/x-www-form-urlencoded";
    }
    if (!cookies.empty()) headers += "\r\nCookie: " + cookies;
}

Text UserAgentFromHeaders(const Text& headers) {
    if (FindInText(headers, "User-Agent:", 1, true) == -1) return kDefaultUserAgent;
    Text agent = TrimSpaces(TextBetween(headers, "User-Agent:", "\r\n"));
    if (agent.empty()) {
        int colon = FindInText(headers, ":");
        agent = TrimSpaces(TextMiddle(headers, colon + 1, TextLength(headers)));
    }
    return agent;
}

const char* MethodVerb(int method) {
    switch (method) {
        case 1: return "POST";
        case 2: return "HEAD";
        default: return "GET";
    }
}

bool IsHttpsUrl(const Text& url) { return ToLowerCase(TextLeft(url, 5)) == "https"; }

Text NormaliseSetCookie(const Text& rawHeaders) {
    return ReplaceInText(rawHeaders, "Set-Cookie", "Set-Cookie", 1, kUnlimited, false);
}
