// WinINet, bound through the external function table, and its handle owner.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "runtime/external_function.h"
#include "runtime/unique_handle.h"

inline ExternalFunction<decltype(::InternetOpenA)> pInternetOpenA{"wininet.dll", "InternetOpenA"};
inline ExternalFunction<decltype(::InternetConnectA)> pInternetConnectA{"wininet.dll", "InternetConnectA"};
inline ExternalFunction<decltype(::HttpOpenRequestA)> pHttpOpenRequestA{"wininet.dll", "HttpOpenRequestA"};
inline ExternalFunction<decltype(::HttpSendRequestA)> pHttpSendRequestA{"wininet.dll", "HttpSendRequestA"};
inline ExternalFunction<decltype(::InternetReadFile)> pInternetReadFile{"wininet.dll", "InternetReadFile"};
inline ExternalFunction<decltype(::HttpQueryInfoA)> pHttpQueryInfoA{"wininet.dll", "HttpQueryInfoA"};
inline ExternalFunction<decltype(::InternetCloseHandle)> pInternetCloseHandle{"wininet.dll", "InternetCloseHandle"};
inline ExternalFunction<decltype(::InternetSetOptionA)> pInternetSetOptionA{"wininet.dll", "InternetSetOptionA"};
inline ExternalFunction<decltype(::InternetOpenUrlA)> pInternetOpenUrlA{"wininet.dll", "InternetOpenUrlA"};

using InternetHandle = UniqueHandle<NullHandleTraits<HINTERNET, pInternetCloseHandle>>;

// Connect, send and receive time-outs, so a stalled peer ends the call.
inline void SetInternetTimeouts(HINTERNET handle, DWORD milliseconds) {
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        pInternetSetOptionA(handle, option, &milliseconds, sizeof milliseconds);
    }
}
