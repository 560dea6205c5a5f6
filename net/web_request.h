// One complete HTTP(S) request on WinINet, returning the response body.
#pragma once

#include <cstddef>

#include "runtime/value_types.h"

enum HttpMethod : int { kGet = 0, kPost = 1, kHead = 2 };

// Optional arguments. Pointers are the caller's variables, changed as the
// request describes; a null pointer means the argument is left out.
struct WebRequestOptions {
    int method = kGet;                 // other values count as GET
    Text postText;                     // sent with POST/HEAD when postBytes is empty
    Text* cookies = nullptr;           // in/out: own cookie text instead of WinINet's store
    Text* returnedCookies = nullptr;   // out: cookies this response set
    Text* headers = nullptr;           // in/out: extra lines; missing defaults are added
    Text* responseHeaders = nullptr;   // out: raw headers, "Set-Cookie" normalised
    bool noRedirect = false;
    ByteArray* postBytes = nullptr;    // in/out: filled from postText when empty
    Text proxy;                        // host:port; empty = direct
    // The largest body taken; 0 = no limit. Reading stops at the first byte
    // beyond it, and the request fails: the body is empty.
    std::size_t maxBodyBytes = 0;
    bool* bodyTooLarge = nullptr;      // out: whether the limit failed it
};

// The response body; empty on any connection failure or a body over the
// limit. Nothing is shown.
ByteArray WebRequest(const Text& url, const WebRequestOptions& options = WebRequestOptions());
