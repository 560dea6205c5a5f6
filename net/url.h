// Splitting a URL into host, port and path.
#pragma once

#include "runtime/value_types.h"

// Lower-case host; with keepPort the ":port" suffix stays attached. A missing
// scheme means "http://".
Text UrlHost(const Text& url, bool keepPort = false);
// The port after the host's last ":", else 443 for https and 80 otherwise.
int UrlPort(const Text& url);
// From the first "/" after the host to the end (query included), else "/".
Text UrlPath(const Text& url);
