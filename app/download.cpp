#include "app/download.h"

#include <cstdlib>
#include <vector>

#include "net/wininet_api.h"
#include "runtime/arith.h"
#include "runtime/files.h"
#include "runtime/window_ops.h"

namespace {

constexpr DWORD kChunk = 10240;
constexpr DWORD kOpenUrlFlags = 0x84000100;  // reload, no cache write, pragma no-cache
constexpr DWORD kTimeoutMilliseconds = 30000;

inline ExternalFunction<decltype(::InternetGetConnectedState)> pInternetGetConnectedState{
    "wininet.dll", "InternetGetConnectedState"};

int Fail(const char* message) {
    ShowMessage(message, 0);
    return -1;
}

DWORD StatusCode(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    DWORD index = 0;
    if (!pHttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, &index)) {
        return 0;
    }
    return status;
}

Text HeaderText(HINTERNET request, DWORD query) {
    char buffer[256] = {};
    DWORD size = sizeof buffer - 1;
    DWORD index = 0;
    if (!pHttpQueryInfoA(request, query, buffer, &size, &index)) return Text();
    return Text(buffer, size);
}

// First byte of a "bytes a-b/n" or "bytes */n" Content-Range, -1 when absent.
std::int64_t RangeStart(const Text& contentRange) {
    size_t at = contentRange.find("bytes ");
    if (at == Text::npos || contentRange.compare(at + 6, 1, "*") == 0) return -1;
    return std::strtoll(contentRange.c_str() + at + 6, nullptr, 10);
}

// Whole size from "bytes */n" (a 416 answer), -1 when absent.
std::int64_t UnsatisfiedLength(const Text& contentRange) {
    size_t at = contentRange.find("*/");
    return at == Text::npos ? -1 : std::strtoll(contentRange.c_str() + at + 2, nullptr, 10);
}

}  // namespace

Text DownloadRequestHeaders(std::optional<std::int64_t> startOffset) {
    Text headers =
        "Accept: */*\r\nAccept-Language: zh-cn\r\nAccept-Encoding: gzip, deflate\r\n"
        "User-Agent: Mozilla/4.0(compatible; MSIE 6.0; Windows NT 5.0; MyIE2; .NET CLR 1.1.4322)";
    if (startOffset) headers += "\r\nRange:bytes=" + std::to_string(*startOffset) + "-";
    return headers;
}

int RangedDownload(const Text& url, const Text& localPath, ProgressProcedure progress,
                   std::optional<std::int64_t> startOffset) {
    DWORD connection = 0;
    pInternetGetConnectedState(&connection, 0);
    const Text agent = "Agent" + std::to_string(TickCount());
    const DWORD openType = (connection & INTERNET_CONNECTION_PROXY)
                               ? INTERNET_OPEN_TYPE_PRECONFIG
                               : INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
    InternetHandle internet(pInternetOpenA(agent.c_str(), openType, nullptr, nullptr, 0));
    if (!internet) return Fail("Internet连接错误!");
    // A stalled server ends in a read error instead of blocking for ever.
    SetInternetTimeouts(internet.Get(), kTimeoutMilliseconds);

    const Text headers = DownloadRequestHeaders(startOffset);
    InternetHandle request(pInternetOpenUrlA(internet.Get(), url.c_str(), headers.c_str(),
                                             static_cast<DWORD>(headers.size()), kOpenUrlFlags, 0));
    if (!request) return Fail("不能打开该URL!");

    // Only 200 and 206 carry content; anything else is never written.
    const DWORD status = StatusCode(request.Get());
    const Text contentRange = HeaderText(request.Get(), HTTP_QUERY_CONTENT_RANGE);
    std::int64_t start = startOffset.value_or(0);
    bool truncate = !startOffset;
    if (startOffset) {
        const std::int64_t localSize = FileExists(localPath) ? FileSize64(localPath) : 0;
        if (status == 416 && UnsatisfiedLength(contentRange) == localSize && localSize == *startOffset) {
            return 0;  // the partial file is already complete
        }
        if (status == 200) {
            truncate = true;  // the server ignored the range: the whole file follows
            start = 0;
        } else if (status == 206 && RangeStart(contentRange) != *startOffset) {
            // A range we did not ask for cannot be appended: fetch the whole
            // file again. The partial file is replaced only once that answer
            // carries content.
            request.Reset();
            internet.Reset();
            return RangedDownload(url, localPath, progress, std::nullopt);
        }
    }
    if (status != 200 && status != 206) return Fail("不能打开该URL!");

    ScopedDataFile file(truncate ? OpenDataFile(localPath, 4)
                                 : OpenDataFile(localPath, FileExists(localPath) ? 5 : 4));
    if (!file.Get()) return Fail("不能打开本地的文件!");
    if (!truncate) SeekDataFileEnd(file.Get());
    std::int64_t position = start;

    DWORD contentLength = 0;
    DWORD size = sizeof contentLength;
    DWORD index = 0;
    if (!pHttpQueryInfoA(request.Get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER,
                         &contentLength, &size, &index)) {
        contentLength = 0;
    }

    std::vector<std::uint8_t> buffer(kChunk);
    const std::uint32_t t0 = TickCount();
    for (;;) {
        DWORD read = 0;
        if (!pInternetReadFile(request.Get(), buffer.data(), kChunk, &read)) return Fail("读文件出错!");
        if (read == 0) {
            // A connection that ends before the announced length is a read
            // failure, not a complete file.
            if (contentLength && position - start < static_cast<std::int64_t>(contentLength)) {
                return Fail("读文件出错!");
            }
            return 0;
        }
        if (!WriteDataFile(file.Get(), buffer.data(), read)) return Fail("写文件出错!");
        position += read;
        std::uint32_t elapsed = TickCount() - t0;
        if (elapsed == 0) elapsed = 10;
        if (progress) {
            progress(static_cast<int>(contentLength), static_cast<int>(position),
                     static_cast<int>(elapsed), static_cast<int>(position - start));
        }
    }
}
