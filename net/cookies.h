// Cookies a response sets, and merging them into a cookie text.
#pragma once

#include "runtime/value_types.h"

// The first name=value pair of every "Set-Cookie" line, joined with "; ".
Text ExtractSetCookies(const Text& responseHeaders);
// Spaces removed from both texts (newCookies is changed too); the server's
// cookies first, then old ones it did not set again; "=deleted" ones dropped;
// exact duplicates kept once. cookies receives the result, which is returned.
Text MergeCookies(Text& cookies, Text& newCookies);
// Trimmed text before the first "=", or the whole trimmed text.
Text CookieName(const Text& cookie);
