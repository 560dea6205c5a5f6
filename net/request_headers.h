// The request-header rules of the web request (portable).
#pragma once

#include "runtime/value_types.h"

constexpr char kDefaultUserAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// Adds the missing default lines (Accept, Referer, Accept-Language,
// Content-Type, then the cookie line) to the caller's header text.
void CompleteRequestHeaders(Text& headers, const Text& url, const Text& cookies);
// The user agent a header text asks for, or the default one.
Text UserAgentFromHeaders(const Text& headers);
// "GET", "POST" or "HEAD"; other method numbers are GET.
const char* MethodVerb(int method);
bool IsHttpsUrl(const Text& url);
// Every spelling of "Set-Cookie" in raw response headers becomes "Set-Cookie".
Text NormaliseSetCookie(const Text& rawHeaders);
