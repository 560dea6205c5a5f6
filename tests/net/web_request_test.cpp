// The web request against a real local server (and a real proxy), checked
// from what the server received.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "net/web_request.h"
#include "net/wininet_api.h"
#include "runtime/text.h"
#include "tests/support/trusted_certificate.h"

namespace {

std::string Port(const char* variable) {
    const char* value = std::getenv(variable);
    return value ? value : "";
}

std::string Url(const std::string& path, const std::string& host = "127.0.0.1") {
    return "http://" + host + ":" + Port("NET_TEST_PORT") + path;
}

std::string AsText(const ByteArray& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The header block the server received, without the request line and body.
std::string ReceivedHeaderLines(const std::string& echo) {
    size_t start = echo.find("\r\n") + 2;
    return echo.substr(start, echo.find("\r\n\r\n") - start);
}

class WebRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Port("NET_TEST_PORT").empty()) << "run through run_with_servers.sh";
    }
};

TEST_F(WebRequestTest, SendsTheDefaultHeaderBlockInOrder) {
    const std::string url = Url("/echo");
    Text headers;
    WebRequestOptions options;
    options.headers = &headers;
    std::string echo = AsText(WebRequest(url, options));
    ASSERT_EQ(echo.rfind("GET /echo HTTP/1.1\r\n", 0), 0u) << echo;
    std::string lines = ReceivedHeaderLines(echo);
    const std::string expected = "Accept: */*\r\nReferer: " + url +
                                 "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";
    // WinINet puts its own Host and User-Agent lines first; ours follow as one block.
    EXPECT_NE(lines.find(expected), std::string::npos) << lines;
    EXPECT_NE(lines.find("User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"), std::string::npos);
    EXPECT_EQ(headers, expected);  // the caller's text was completed
}

TEST_F(WebRequestTest, CallersAcceptAndAgentWin) {
    Text headers = "Accept: text/plain\r\nUser-Agent: Probe/1.0\r\nX-One: 1";
    WebRequestOptions options;
    options.headers = &headers;
    options.method = 7;  // not a method: GET
    std::string lines = ReceivedHeaderLines(AsText(WebRequest(Url("/echo"), options)));
    EXPECT_EQ(lines.find("Accept: */*"), std::string::npos) << lines;
    EXPECT_NE(lines.find("Accept: text/plain"), std::string::npos);
    EXPECT_NE(lines.find("User-Agent: Probe/1.0"), std::string::npos);
    EXPECT_NE(lines.find("X-One: 1"), std::string::npos);
}

TEST_F(WebRequestTest, PostSendsTheBodyBytes) {
    WebRequestOptions options;
    options.method = kPost;
    ByteArray post{'k', '=', 0, 'v'};
    options.postBytes = &post;
    std::string echo = AsText(WebRequest(Url("/echo"), options));
    EXPECT_EQ(echo.rfind("POST /echo HTTP/1.1", 0), 0u);
    EXPECT_EQ(echo.substr(echo.find("\r\n\r\n") + 4), std::string("k=\0v", 4));

    WebRequestOptions fromText;
    fromText.method = kPost;
    fromText.postText = "name=值";
    ByteArray filled;
    fromText.postBytes = &filled;
    echo = AsText(WebRequest(Url("/echo"), fromText));
    EXPECT_EQ(echo.substr(echo.find("\r\n\r\n") + 4), "name=值");
    EXPECT_EQ(AsText(filled), "name=值");  // the caller's empty bytes were filled
}

TEST_F(WebRequestTest, OwnCookiesAreSentAndMergedBack) {
    Text cookies = "old=1; a=0";
    Text returned;
    Text responseHeaders;
    WebRequestOptions options;
    options.cookies = &cookies;
    options.returnedCookies = &returned;
    options.responseHeaders = &responseHeaders;
    std::string lines = ReceivedHeaderLines(AsText(WebRequest(Url("/echo"), options)));
    EXPECT_NE(lines.find("Cookie: old=1; a=0"), std::string::npos) << lines;
    EXPECT_NE(responseHeaders.find("Set-Cookie: b=2"), std::string::npos);  // spelling normalised
    EXPECT_EQ(responseHeaders.find("set-cookie"), std::string::npos);
    EXPECT_EQ(returned, "a=1;b=2;gone=deleted");
    EXPECT_EQ(cookies, "a=1; b=2; old=1");
}

TEST_F(WebRequestTest, RedirectsAreFollowedUnlessRefused) {
    std::string followed = AsText(WebRequest(Url("/redirect")));
    EXPECT_EQ(followed.rfind("GET /echo HTTP/1.1", 0), 0u) << followed;
    WebRequestOptions options;
    options.noRedirect = true;
    Text responseHeaders;
    options.responseHeaders = &responseHeaders;
    EXPECT_EQ(AsText(WebRequest(Url("/redirect"), options)), "moved");
    EXPECT_EQ(responseHeaders.rfind("HTTP/1.1 302", 0), 0u);
}

TEST_F(WebRequestTest, ErrorStatusStillGivesTheBody) {
    EXPECT_EQ(AsText(WebRequest(Url("/missing"))), "not here");
}

// A body over the limit is a failed request: reading stops, the body is
// empty, and the caller learns why; the status line is still there.
TEST_F(WebRequestTest, BodyOverTheLimitIsEmpty) {
    for (const char* form : {"", "/chunked"}) {
        SCOPED_TRACE(form);
        bool tooLarge = true;
        Text responseHeaders;
        WebRequestOptions options;
        options.maxBodyBytes = 1000;
        options.bodyTooLarge = &tooLarge;
        options.responseHeaders = &responseHeaders;
        EXPECT_EQ(WebRequest(Url("/bytes/1000" + std::string(form)), options).size(), 1000u);
        EXPECT_FALSE(tooLarge);
        EXPECT_TRUE(WebRequest(Url("/bytes/1001" + std::string(form)), options).empty());
        EXPECT_TRUE(tooLarge);
        EXPECT_EQ(responseHeaders.rfind("HTTP/1.1 200", 0), 0u);
        // Far more than the limit: none of it is kept.
        EXPECT_TRUE(WebRequest(Url("/bytes/3000000" + std::string(form)), options).empty());
        EXPECT_TRUE(tooLarge);
    }
    // Without a limit everything is read.
    EXPECT_EQ(WebRequest(Url("/bytes/3000000")).size(), 3000000u);
}

TEST_F(WebRequestTest, LongResponseHeadersAreReadWhole) {
    Text responseHeaders;
    Text returned;
    WebRequestOptions options;
    options.responseHeaders = &responseHeaders;
    options.returnedCookies = &returned;
    EXPECT_EQ(AsText(WebRequest(Url("/bigheaders"), options)), "big");
    EXPECT_GT(responseHeaders.size(), 5000u);
    EXPECT_NE(responseHeaders.find("X-Filler-59"), std::string::npos);
    EXPECT_EQ(returned, "big=1");
}

TEST_F(WebRequestTest, PlainHttpGoesThroughTheProxyList) {
    ASSERT_FALSE(Port("NET_PROXY_PORT").empty());
    WebRequestOptions options;
    options.proxy = "127.0.0.1:" + Port("NET_PROXY_PORT");
    // A literal loopback target would bypass the proxy under Wine.
    std::string lines = ReceivedHeaderLines(AsText(WebRequest(Url("/echo", "localhost"), options)));
    EXPECT_NE(lines.find("Via: "), std::string::npos) << "not proxied: " << lines;

    WebRequestOptions wrongProxy;
    wrongProxy.proxy = "127.0.0.1:9";
    EXPECT_TRUE(WebRequest(Url("/echo", "localhost"), wrongProxy).empty());
}

TEST_F(WebRequestTest, UnreachableHostGivesAnEmptyBody) {
    EXPECT_TRUE(WebRequest("http://127.0.0.1:9/GX.txt").empty());
    EXPECT_TRUE(WebRequest("").empty());
}

TEST_F(WebRequestTest, APortAboveSixteenBitsFailsInsteadOfWrapping) {
    // The server's port + 65536 would wrap to the server itself.
    const int wrapped = std::stoi(Port("NET_TEST_PORT")) + 65536;
    const std::string url = "http://127.0.0.1:" + std::to_string(wrapped) + "/echo";
    EXPECT_TRUE(WebRequest(url).empty());
    EXPECT_FALSE(WebRequest(Url("/echo")).empty());  // the server itself answers
}

const auto* const kTrust =
    ::testing::AddGlobalTestEnvironment(new probe::TrustedCertificate("NET_TLS_CERT"));

std::string HttpsUrl(const char* portVariable, const std::string& host = "localhost") {
    return "https://" + host + ":" + Port(portVariable) + "/echo";
}

TEST_F(WebRequestTest, HttpsWithATrustedCertificate) {
    ASSERT_TRUE(probe::TrustedCertificate::Added());
    WebRequestOptions options;
    options.method = kPost;
    ByteArray post{'x', 0, 'y'};
    options.postBytes = &post;
    const std::string echo = AsText(WebRequest(HttpsUrl("NET_TLS_PORT"), options));
    EXPECT_EQ(echo.rfind("POST /echo HTTP/1.1", 0), 0u) << echo;
    EXPECT_NE(echo.find("Accept-Language: zh-cn"), std::string::npos) << echo;
    EXPECT_EQ(echo.substr(echo.find("\r\n\r\n") + 4), std::string("x\0y", 3));
}

// Certificate errors are never ignored.
TEST_F(WebRequestTest, HttpsRefusesAnUnknownIssuerOrAnotherName) {
    ASSERT_FALSE(Port("NET_TLS_STRANGER_PORT").empty());
    EXPECT_TRUE(WebRequest(HttpsUrl("NET_TLS_STRANGER_PORT")).empty());
    // The trusted certificate names localhost only.
    EXPECT_TRUE(WebRequest(HttpsUrl("NET_TLS_PORT", "127.0.0.1")).empty());
    EXPECT_FALSE(WebRequest(HttpsUrl("NET_TLS_PORT")).empty());
}

TEST_F(WebRequestTest, EveryHandleIsClosed) {
    for (int i = 0; i < 3; ++i) WebRequest(Url("/echo"));
    WebRequest("http://127.0.0.1:9/");
    EXPECT_EQ(InternetHandle::Live(), 0);
}

}  // namespace
