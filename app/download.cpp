#include "app/download.h"

#include <vector>

#include "app/content_decoder.h"
#include "app/download_answer.h"
#include "app/update_log.h"
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
    LogEvent(Text("message shown: ") + message);
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

// One header's value as text; empty when the answer has none.
Text HeaderText(HINTERNET request, DWORD query) {
    std::vector<char> buffer(1024);
    DWORD size = static_cast<DWORD>(buffer.size() - 1);
    DWORD index = 0;
    if (!pHttpQueryInfoA(request, query, buffer.data(), &size, &index)) {
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return Text();
        buffer.resize(size + 1);
        index = 0;
        if (!pHttpQueryInfoA(request, query, buffer.data(), &size, &index)) return Text();
    }
    return Text(buffer.data(), size);
}

DownloadAnswer ReadAnswer(HINTERNET request) {
    DownloadAnswer answer;
    answer.status = static_cast<int>(StatusCode(request));
    // The length as text: a number query is 32-bit, too small above 4 GB.
    answer.contentLength = HeaderText(request, HTTP_QUERY_CONTENT_LENGTH);
    answer.contentRange = HeaderText(request, HTTP_QUERY_CONTENT_RANGE);
    answer.contentEncoding = HeaderText(request, HTTP_QUERY_CONTENT_ENCODING);
    answer.etag = HeaderText(request, HTTP_QUERY_ETAG);
    answer.lastModified = HeaderText(request, HTTP_QUERY_LAST_MODIFIED);
    return answer;
}

Text OrNone(const Text& value) { return value.empty() ? Text("none") : value; }

void LogRequest(const Text& url, std::optional<std::int64_t> startOffset, const DownloadAnswer& answer) {
    LogEvent("download request " + url + " offset " + (startOffset ? std::to_string(*startOffset) : "none") +
             ": status " + std::to_string(answer.status) + ", Content-Length " + OrNone(answer.contentLength) +
             ", Content-Range " + OrNone(answer.contentRange) + ", Content-Encoding " +
             OrNone(answer.contentEncoding) + ", ETag " + OrNone(answer.etag) + ", Last-Modified " +
             OrNone(answer.lastModified));
}

std::optional<ServedIdentity> StoredIdentity(const Text& localPath) {
    const Text path = DownloadIdentityPath(localPath);
    if (!FileExists(path)) return std::nullopt;
    const ByteArray bytes = ReadBytesFromFile(path);
    return ParseIdentity(Text(bytes.begin(), bytes.end()));
}

// Records what the server serves now, for the resume of a later run.
void KeepIdentity(const Text& localPath, const ServedIdentity& identity) {
    const Text path = DownloadIdentityPath(localPath);
    if (identity.Empty()) {
        RemoveFile(path);
        return;
    }
    const Text text = FormatIdentity(identity);
    if (!SaveBytesToFile(path, ByteArray(text.begin(), text.end()))) RemoveFile(path);
}

struct TransferPlan {
    std::int64_t start = 0;      // file offset of the body's first byte
    std::int64_t wholeEnd = -1;  // the file's size once the body is in, when known
    DownloadLimits limits;
    Text directory;              // of the local file, for its volume's free space
};

// How a transfer ended; a discarded file is deleted once it is closed.
struct TransferResult {
    int code = 0;
    bool discard = false;
};

TransferResult Failed(const char* message, bool discard = false) { return {Fail(message), discard}; }

// Watches the bytes about to be written against the published size or, with
// none, the volume's free space.
class WriteBound {
public:
    explicit WriteBound(const TransferPlan& plan) : plan_(plan) {}

    // Empty when `size` more bytes at `position` may be written; else why not.
    Text Refusal(std::int64_t position, std::size_t size) {
        const std::int64_t expected = plan_.limits.expectedSize;
        const std::int64_t more = static_cast<std::int64_t>(size);
        if (expected >= 0) {
            if (position + more <= expected) return Text();
            return "the body goes past the published size of " + std::to_string(expected) + " bytes";
        }
        if (checked_ && sinceCheck_ + more <= kFreeSpaceCheckBytes) {
            sinceCheck_ += more;
            return Text();
        }
        checked_ = true;
        sinceCheck_ = more;
        const std::int64_t free =
            plan_.limits.freeSpace ? plan_.limits.freeSpace(plan_.directory) : FreeBytesOfVolume(plan_.directory);
        if (free < 0 || free - more >= plan_.limits.freeSpaceFloor) return Text();
        return "the volume's free space (" + std::to_string(free) + " bytes) would fall under " +
               std::to_string(plan_.limits.freeSpaceFloor) + " bytes";
    }

private:
    const TransferPlan& plan_;
    bool checked_ = false;
    std::int64_t sinceCheck_ = 0;
};

// Reads the body into the open file, decoding it when it is encoded. A body
// that ends before its announced length, before its encoded stream's end, or
// short of the whole file is a read failure, never a finished file. A body
// that breaks the write bound stops the transfer; what was written is kept
// for a resume only when it is the start of a file of announced length.
TransferResult Transfer(HINTERNET request, const DownloadAnswer& answer, FileNumber file,
                        const TransferPlan& plan, ProgressProcedure progress) {
    const std::int64_t wireLength = ParseLength(answer.contentLength);
    const std::int64_t shownLength = answer.Encoded() ? 0 : (wireLength < 0 ? 0 : wireLength);
    ContentDecoder decoder(answer.Encoding());
    WriteBound bound(plan);
    std::vector<std::uint8_t> buffer(kChunk);
    std::vector<std::uint8_t> decoded;
    std::int64_t position = plan.start;
    std::int64_t onWire = 0;
    const std::uint32_t t0 = TickCount();
    for (;;) {
        DWORD read = 0;
        if (!pInternetReadFile(request, buffer.data(), kChunk, &read)) {
            LogEvent("read failed after " + std::to_string(onWire) + " bytes");
            return Failed("读文件出错!");
        }
        if (read == 0) break;
        onWire += read;
        const std::uint8_t* bytes = buffer.data();
        std::size_t size = read;
        if (answer.Encoded()) {
            decoded.clear();
            if (!decoder.Decode(buffer.data(), read, decoded)) {
                LogEvent("the encoded body is corrupt after " + std::to_string(onWire) + " bytes");
                return Failed("读文件出错!");
            }
            bytes = decoded.data();
            size = decoded.size();
            if (size == 0) continue;  // headers or a trailer: nothing new to show
        }
        const Text refusal = bound.Refusal(position, size);
        if (!refusal.empty()) {
            const bool resumable = plan.limits.expectedSize < 0 && plan.wholeEnd >= 0;
            LogEvent("writing stopped at " + std::to_string(position) + " bytes: " + refusal +
                     (resumable ? "; the partial file stays for a resume" : "; the file is deleted"));
            return Failed("写文件出错!", !resumable);
        }
        if (size && !WriteDataFile(file, bytes, size)) return Failed("写文件出错!");
        position += static_cast<std::int64_t>(size);
        std::uint32_t elapsed = TickCount() - t0;
        if (elapsed == 0) elapsed = 10;
        if (progress) progress(shownLength, position, elapsed, position - plan.start);
    }
    LogEvent("received " + std::to_string(position - plan.start) + " bytes of the file (" +
             std::to_string(onWire) + " on the wire), file size " + std::to_string(position));
    if (wireLength >= 0 && onWire < wireLength) {
        LogEvent("the connection ended before the announced " + std::to_string(wireLength) + " bytes");
        return Failed("读文件出错!");
    }
    if (!decoder.Finished()) {
        LogEvent("the encoded body ended before its end marker");
        return Failed("读文件出错!");
    }
    if (plan.wholeEnd >= 0 && position != plan.wholeEnd) {
        LogEvent("the file is " + std::to_string(position) + " bytes, the server's whole length is " +
                 std::to_string(plan.wholeEnd));
        return Failed("读文件出错!");
    }
    if (plan.limits.expectedSize >= 0 && position != plan.limits.expectedSize) {
        LogEvent("the file is " + std::to_string(position) + " bytes, the published size is " +
                 std::to_string(plan.limits.expectedSize));
        return Failed("读文件出错!");
    }
    return {};
}

// Where the file must end for this answer, when the headers say.
std::int64_t WholeEnd(const DownloadAnswer& answer, std::int64_t start) {
    if (answer.Encoded()) return -1;
    if (answer.status == 206) {
        const ContentRange range = ParseContentRange(answer.contentRange);
        if (range.whole >= 0) return range.whole;
    }
    const std::int64_t length = ParseLength(answer.contentLength);
    return length < 0 ? -1 : start + length;
}

}  // namespace

Text DownloadRequestHeaders(std::optional<std::int64_t> startOffset) {
    Text headers =
        "Accept: */*\r\nAccept-Language: zh-cn\r\nAccept-Encoding: gzip, deflate\r\n"
        "User-Agent: Mozilla/4.0(compatible; MSIE 6.0; Windows NT 5.0; MyIE2; .NET CLR 1.1.4322)";
    if (startOffset) headers += "\r\nRange:bytes=" + std::to_string(*startOffset) + "-";
    return headers;
}

Text DownloadIdentityPath(const Text& localPath) { return localPath + ".id"; }

int RangedDownload(const Text& url, const Text& localPath, ProgressProcedure progress,
                   std::optional<std::int64_t> startOffset, const DownloadLimits& limits) {
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
    if (!request) {
        LogEvent("download request " + url + ": no answer (error " + std::to_string(::GetLastError()) + ")");
        return Fail("不能打开该URL!");
    }

    const DownloadAnswer answer = ReadAnswer(request.Get());
    LogRequest(url, startOffset, answer);
    const AnswerPlan plan = PlanAnswer(answer, startOffset, startOffset ? StoredIdentity(localPath) : std::nullopt,
                                       limits.expectedSize);
    TransferPlan transfer;
    switch (plan.action) {
        case AnswerAction::Refuse:
            LogEvent("refused: " + plan.reason);
            return Fail("不能打开该URL!");
        case AnswerAction::Complete:
            LogEvent("complete: " + plan.reason);
            return 0;
        case AnswerAction::Restart:
            // The partial file is replaced only once an answer for the whole
            // file carries content.
            LogEvent("restart from byte 0: " + plan.reason);
            request.Reset();
            internet.Reset();
            return RangedDownload(url, localPath, progress, std::nullopt, limits);
        case AnswerAction::WriteFromStart:
            if (startOffset) LogEvent("restart from byte 0: " + plan.reason);
            KeepIdentity(localPath, answer.Identity());
            break;
        case AnswerAction::Append:
            LogEvent("resume at " + std::to_string(*startOffset) + ": " + plan.reason);
            transfer.start = *startOffset;
            break;
    }
    transfer.wholeEnd = WholeEnd(answer, transfer.start);
    transfer.limits = limits;
    transfer.directory = DirectoryOfFile(localPath);
    if (transfer.directory.empty()) transfer.directory = ".\\";

    const bool append = plan.action == AnswerAction::Append;
    TransferResult result;
    {
        ScopedDataFile file(append ? OpenDataFile(localPath, FileExists(localPath) ? 5 : 4)
                                   : OpenDataFile(localPath, 4));
        if (!file.Get()) return Fail("不能打开本地的文件!");
        if (append) SeekDataFileEnd(file.Get());
        result = Transfer(request.Get(), answer, file.Get(), transfer, progress);
        // A finished file is on the disk before it counts as finished.
        if (result.code == 0 && !FlushDataFile(file.Get())) {
            LogEvent("the file could not be written to the disk (error " + std::to_string(::GetLastError()) + ")");
            result.code = Fail("写文件出错!");
        }
    }
    if (result.discard) {
        RemoveFile(localPath);
        RemoveFile(DownloadIdentityPath(localPath));
    }
    return result.code;
}
