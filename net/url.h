// Splitting a URL into host, port and path.
#pragma once

#include "runtime/value_types.h"

// Lower-case host; with keepPort the ":port" suffix stays attached. Only a
// leading "http://" or "https://" is a scheme; without one the URL starts
// with its host ("http://" inside a query never supplies it).
Text UrlHost(const Text& url, bool keepPort = false);
// The port after the host's last ":", else 443 for https and 80 otherwise.
int UrlPort(const Text& url);
// Whether a port from UrlPort can be connected to as it is (0 asks for the
// scheme's default); anything outside 0..65535 must fail the request.
bool IsUsablePort(int port);
// From the first "/" after the host (which follows the scheme) to the end,
// query included, else "/".
Text UrlPath(const Text& url);
