#include "net/web_request.h"

#include "net/cookies.h"
#include "net/request_headers.h"
#include "net/url.h"
#include "net/wininet_api.h"
#include "runtime/conversions.h"

namespace {

constexpr DWORD kReadChunk = 1024;
constexpr DWORD kHeaderBuffer = 5000;
constexpr DWORD kTimeoutMilliseconds = 30000;

DWORD RequestFlags(bool https, bool ownCookies, bool noRedirect) {
    DWORD flags = INTERNET_FLAG_RELOAD | 0x10;
    if (ownCookies) flags |= INTERNET_FLAG_NO_COOKIES;
    if (noRedirect) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    flags |= https ? INTERNET_FLAG_SECURE : INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    return flags;
}

InternetHandle OpenInternet(const Text& agent, const Text& proxy, bool https) {
    if (proxy.empty()) {
        return InternetHandle(pInternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, "", "", 0));
    }
    Text proxyList = https ? proxy : "http=" + proxy;
    return InternetHandle(
        pInternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PROXY, proxyList.c_str(), "", 0));
}

// The body, read until its end or until it is longer than `limit` (0: no
// limit), which drops it and sets `tooLarge`.
ByteArray ReadBody(HINTERNET request, std::size_t limit, bool& tooLarge) {
    ByteArray body;
    unsigned char chunk[kReadChunk];
    DWORD read = 0;
    tooLarge = false;
    while (pInternetReadFile(request, chunk, kReadChunk, &read) && read > 0) {
        if (limit && read > limit - body.size()) {
            tooLarge = true;
            return ByteArray();
        }
        body.insert(body.end(), chunk, chunk + read);
    }
    return body;
}

// Raw headers, read whole: when they exceed the first buffer the query
// reports the size it needs, and is asked again with that size.
Text ReadRawHeaders(HINTERNET request) {
    Text buffer(kHeaderBuffer, ' ');
    DWORD size = kHeaderBuffer;
    if (pHttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &size, nullptr)) {
        buffer.resize(size);
        return buffer;
    }
    if (::GetLastError() == ERROR_INSUFFICIENT_BUFFER && size > kHeaderBuffer) {
        buffer.assign(size, ' ');
        if (pHttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &size, nullptr)) {
            buffer.resize(size);
            return buffer;
        }
    }
    return Text(kHeaderBuffer, ' ');
}

}  // namespace

ByteArray WebRequest(const Text& url, const WebRequestOptions& options) {
    if (options.bodyTooLarge) *options.bodyTooLarge = false;
    const char* verb = MethodVerb(options.method);
    const bool https = IsHttpsUrl(url);
    Text localHeaders;
    Text& headers = options.headers ? *options.headers : localHeaders;
    const Text agent = UserAgentFromHeaders(headers);

    // A port WinINet's 16 bits cannot hold would wrap to another port.
    const int port = UrlPort(url);
    if (!IsUsablePort(port)) return ByteArray();

    InternetHandle internet = OpenInternet(agent, options.proxy, https);
    if (!internet) return ByteArray();
    SetInternetTimeouts(internet.Get(), kTimeoutMilliseconds);
    const Text host = UrlHost(url);
    InternetHandle connection(pInternetConnectA(internet.Get(), host.c_str(),
                                                static_cast<INTERNET_PORT>(port), "", "",
                                                INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return ByteArray();
    const Text path = UrlPath(url);
    const DWORD flags = RequestFlags(https, options.cookies != nullptr, options.noRedirect);
    InternetHandle request(pHttpOpenRequestA(connection.Get(), verb, path.c_str(), "HTTP/1.1", "",
                                             nullptr, flags, 0));
    if (!request) return ByteArray();

    const Text cookies = options.cookies ? *options.cookies : Text();
    CompleteRequestHeaders(headers, url, cookies);
    // POST and HEAD send the caller's bytes, filled from the text when empty.
    const bool sendsBody = options.method == kPost || options.method == kHead;
    ByteArray localPost;
    ByteArray& post = options.postBytes ? *options.postBytes : localPost;
    if (sendsBody && post.empty()) post = ToBytes(options.postText);
    const DWORD postSize = sendsBody ? static_cast<DWORD>(post.size()) : 0;
    pHttpSendRequestA(request.Get(), headers.c_str(), static_cast<DWORD>(headers.size()),
                      postSize ? post.data() : nullptr, postSize);

    bool tooLarge = false;
    ByteArray body = ReadBody(request.Get(), options.maxBodyBytes, tooLarge);
    if (options.bodyTooLarge) *options.bodyTooLarge = tooLarge;
    const Text responseHeaders = NormaliseSetCookie(ReadRawHeaders(request.Get()));
    request.Reset();
    connection.Reset();
    internet.Reset();

    Text returned = ExtractSetCookies(responseHeaders);
    if (options.responseHeaders) *options.responseHeaders = responseHeaders;
    if (options.cookies) MergeCookies(*options.cookies, returned);
    if (options.returnedCookies) *options.returnedCookies = returned;
    return body;
}
