#include <gtest/gtest.h>

#include "net/cookies.h"
#include "net/request_headers.h"
#include "net/text_between.h"
#include "net/url.h"

TEST(TextBetween, CutsFromTheFirstStartToTheNextEnd) {
    EXPECT_EQ(TextBetween("x[版本]2.1[/版本]y", "[版本]", "[/版本]"), "2.1");
    EXPECT_EQ(TextBetween("[版本]2.1", "[版本]", "[/版本]"), "");
    EXPECT_EQ(TextBetween("[a]1[/a][a]2[/a]", "[a]", "[/a]"), "1");
    EXPECT_EQ(TextBetween("[a][/a]", "[a]", "[/a]"), "");
    EXPECT_EQ(TextBetween("[/a]x[a]", "[a]", "[/a]"), "");  // end only before the start
    EXPECT_EQ(TextBetween("[MAL]log[/MAL]", "[mal]", "[/mal]"), "");
    EXPECT_EQ(TextBetween("[MAL]log[/MAL]", "[mal]", "[/mal]", 0, true), "log");
    EXPECT_EQ(TextBetween("[a]1[/a][a]2[/a]", "[a]", "[/a]", 5), "2");
    EXPECT_EQ(TextBetween("say \"hi\" now", "#引号", "#引号"), "hi");
}

TEST(TextBetween, ATrailByteNeverStartsAMarker) {
    // 0xC8 0x5B is one double-byte character whose trail byte is '['.
    const Text source = "\xC8[a]bad[/a]\xB0\xA1[a]good[/a]";
    EXPECT_EQ(TextBetween("\xC8[a]x[/a]", "[a]", "[/a]"), "");
    EXPECT_EQ(TextBetween(source, "[a]", "[/a]"), "good");
}

TEST(Url, SplitsHostPortAndPath) {
    const Text url = "HTTP://Www.Example.COM:8080/a/b";
    EXPECT_EQ(UrlHost(url), "www.example.com");
    EXPECT_EQ(UrlHost(url, true), "www.example.com:8080");
    EXPECT_EQ(UrlPort(url), 8080);
    EXPECT_EQ(UrlPath(url), "/a/b");

    EXPECT_EQ(UrlPort("https://secure.example.com/x"), 443);
    EXPECT_EQ(UrlPort("HTTPS://secure.example.com"), 443);
    EXPECT_EQ(UrlHost("example.com/dir/file.exe"), "example.com");
    EXPECT_EQ(UrlPort("example.com/dir/file.exe"), 80);
    EXPECT_EQ(UrlPath("example.com/dir/file.exe?v=1"), "/dir/file.exe?v=1");
    EXPECT_EQ(UrlPort("http://host:abc/"), 0);
}

TEST(Url, QueryWithoutSlashStaysWithTheHost) {
    EXPECT_EQ(UrlHost("http://host?x=1"), "host?x=1");
    EXPECT_EQ(UrlPath("http://host?x=1"), "/");
    EXPECT_EQ(UrlPath("http://host"), "/");
    EXPECT_EQ(UrlHost(""), "");
    EXPECT_EQ(UrlPort(""), 80);
}

TEST(Url, PathAndHostComeAfterTheScheme) {
    // The host "h" also occurs inside "http"; the path still starts after it.
    EXPECT_EQ(UrlPath("http://h/x"), "/x");
    EXPECT_EQ(UrlPath("http://p:81/x"), "/x");
    EXPECT_EQ(UrlPath("HTTPS://t/a?b=/c"), "/a?b=/c");
    EXPECT_EQ(UrlPath("t/y"), "/y");
    // A query's "http://" never names the host of a URL without a scheme.
    EXPECT_EQ(UrlHost("example.com/?r=http://evil/"), "example.com");
    EXPECT_EQ(UrlPath("example.com/?r=http://evil/"), "/?r=http://evil/");
    EXPECT_EQ(UrlPort("example.com/?r=http://evil:99/"), 80);
}

TEST(Url, PortsOutsideSixteenBitsAreNotUsable) {
    EXPECT_EQ(UrlPort("http://h:65616/x"), 65616);
    EXPECT_FALSE(IsUsablePort(UrlPort("http://h:65616/x")));
    EXPECT_FALSE(IsUsablePort(UrlPort("http://h:99999999999/")));
    EXPECT_FALSE(IsUsablePort(UrlPort("http://h:-1/")));
    EXPECT_TRUE(IsUsablePort(UrlPort("http://h:65535/")));
    EXPECT_TRUE(IsUsablePort(UrlPort("http://h/")));
    EXPECT_TRUE(IsUsablePort(0));
}

TEST(Cookies, OnlyTheSetCookieHeaderNameCountsInAnyCase) {
    EXPECT_EQ(ExtractSetCookies("HTTP/1.1 200 OK\r\nX-Set-Cookie-Info: 1\r\n\r\n"), "");
    EXPECT_EQ(ExtractSetCookies("HTTP/1.1 200 OK\r\nVia: Set-Cookie: z=1\r\nset-cookie: a=1; path=/\r\n"
                                "SET-COOKIE:b=2\r\n"),
              "a=1; b=2");
}

TEST(Cookies, ExtractsTheFirstPairOfEverySetCookieLine) {
    EXPECT_EQ(ExtractSetCookies("HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n\r\n"),
              "a=1; b=2");
    EXPECT_EQ(ExtractSetCookies("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n"), "");
    EXPECT_EQ(CookieName(" sid = 42 "), "sid");
    EXPECT_EQ(CookieName(" flag "), "flag");
}

TEST(Cookies, MergeListsNewOnesFirstAndDropsDeleted) {
    Text cookies = "a=1; c=3";
    Text fresh = "a=9; c=deleted";
    EXPECT_EQ(MergeCookies(cookies, fresh), "a=9");
    EXPECT_EQ(cookies, "a=9");
    EXPECT_EQ(fresh, "a=9;c=deleted");  // the caller's new text loses its spaces

    cookies = "x=1";
    fresh = "x=1";
    EXPECT_EQ(MergeCookies(cookies, fresh), "x=1");

    cookies = "old=1; keep=2";
    fresh = "n=5; old=7";
    EXPECT_EQ(MergeCookies(cookies, fresh), "n=5; old=7; keep=2");

    cookies = "";
    fresh = "";
    EXPECT_EQ(MergeCookies(cookies, fresh), "");
}

TEST(RequestHeaders, DefaultBlockAndCallerLines) {
    Text headers;
    CompleteRequestHeaders(headers, "http://h/GX.txt", "");
    EXPECT_EQ(headers,
              "Accept: */*\r\nReferer: http://h/GX.txt\r\nAccept-Language: zh-cn\r\n"
              "Content-Type: application/x-www-form-urlencoded");

    headers = "Accept: text/html";
    CompleteRequestHeaders(headers, "http://h/", "a=1");
    EXPECT_EQ(headers,
              "Accept: text/html\r\nReferer: http://h/\r\nAccept-Language: zh-cn\r\n"
              "Content-Type: application/x-www-form-urlencoded\r\nCookie: a=1");
}

TEST(RequestHeaders, UserAgentAndMethod) {
    EXPECT_EQ(UserAgentFromHeaders(""), kDefaultUserAgent);
    // Found ignoring case, but cut case-sensitively: the fallback takes
    // everything after the first colon of the whole text.
    EXPECT_EQ(UserAgentFromHeaders("X: 1\r\nuser-agent: Mine/2"), "1\r\nuser-agent: Mine/2");
    EXPECT_EQ(UserAgentFromHeaders("User-Agent: Mine/1.0 \r\nAccept: x"), "Mine/1.0");
    // The agent line is the last one: the text after the first colon is used.
    EXPECT_EQ(UserAgentFromHeaders("User-Agent:  Tail/3"), "Tail/3");
    EXPECT_STREQ(MethodVerb(7), "GET");
    EXPECT_STREQ(MethodVerb(1), "POST");
    EXPECT_STREQ(MethodVerb(2), "HEAD");
    EXPECT_TRUE(IsHttpsUrl("HTTPS://x"));
    EXPECT_FALSE(IsHttpsUrl("http://x"));
    EXPECT_EQ(NormaliseSetCookie("set-cookie: a=1\r\nSET-COOKIE: b=2"), "Set-Cookie: a=1\r\nSet-Cookie: b=2");
}
