#include "app/download_answer.h"

#include <cctype>

namespace {

constexpr char kEtagName[] = "ETag: ";
constexpr char kLastModifiedName[] = "Last-Modified: ";
constexpr char kLengthName[] = "Length: ";

// Decimal digits at `at`, -1 when there are none or too many to be a size.
std::int64_t DecimalAt(const Text& text, std::size_t at, std::size_t* end = nullptr) {
    std::int64_t value = 0;
    std::size_t i = at;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        if (i - at >= 18) return -1;
        value = value * 10 + (text[i] - '0');
        ++i;
    }
    if (end) *end = i;
    return i == at ? -1 : value;
}

Text LineValue(const Text& text, const char* name) {
    const std::size_t nameSize = Text(name).size();
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == Text::npos) end = text.size();
        Text line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, nameSize, name) == 0) return line.substr(nameSize);
        at = end + 1;
    }
    return Text();
}

Text Described(const Text& value) { return value.empty() ? Text("none") : value; }

}  // namespace

Text FormatIdentity(const ServedIdentity& identity) {
    return Text(kEtagName) + identity.etag + "\r\n" + kLastModifiedName + identity.lastModified + "\r\n" +
           kLengthName + std::to_string(identity.wholeLength) + "\r\n";
}

ServedIdentity ParseIdentity(const Text& text) {
    ServedIdentity identity;
    identity.etag = LineValue(text, kEtagName);
    identity.lastModified = LineValue(text, kLastModifiedName);
    identity.wholeLength = ParseLength(LineValue(text, kLengthName));
    return identity;
}

ContentRange ParseContentRange(const Text& header) {
    ContentRange range;
    const std::size_t unit = header.find("bytes");
    if (unit == Text::npos) return range;
    std::size_t at = unit + 5;
    while (at < header.size() && (header[at] == ' ' || header[at] == '=')) ++at;
    std::size_t end = at;
    range.first = DecimalAt(header, at, &end);
    const std::size_t slash = header.find('/', at);
    if (slash != Text::npos) range.whole = DecimalAt(header, slash + 1);
    return range;
}

std::int64_t ParseLength(const Text& header) {
    std::size_t at = header.find_first_not_of(" \t");
    if (at == Text::npos) return -1;
    std::size_t end = at;
    const std::int64_t value = DecimalAt(header, at, &end);
    return header.find_first_not_of(" \t\r\n", end) == Text::npos ? value : -1;
}

std::int64_t DownloadAnswer::FileBytesLength() const { return Encoded() ? -1 : ParseLength(contentLength); }

ServedIdentity DownloadAnswer::Identity() const {
    ServedIdentity identity;
    identity.etag = etag;
    identity.lastModified = lastModified;
    if (status == 206 || status == 416) {
        identity.wholeLength = ParseContentRange(contentRange).whole;
    } else if (status == 200) {
        identity.wholeLength = FileBytesLength();
    }
    return identity;
}

Text IdentityDifference(const ServedIdentity& stored, const ServedIdentity& answer) {
    if (!stored.etag.empty() && stored.etag != answer.etag) {
        return "ETag " + stored.etag + " is now " + Described(answer.etag);
    }
    if (!stored.lastModified.empty() && stored.lastModified != answer.lastModified) {
        return "Last-Modified " + stored.lastModified + " is now " + Described(answer.lastModified);
    }
    if (stored.wholeLength >= 0 && answer.wholeLength >= 0 && stored.wholeLength != answer.wholeLength) {
        return "whole length " + std::to_string(stored.wholeLength) + " is now " +
               std::to_string(answer.wholeLength);
    }
    return Text();
}

AnswerPlan PlanAnswer(const DownloadAnswer& answer, std::optional<std::int64_t> startOffset,
                      const std::optional<ServedIdentity>& stored, std::int64_t expectedWhole) {
    const bool content = answer.status == 200 || answer.status == 206;
    if (content && answer.Encoding() == ContentEncoding::Unsupported) {
        return {AnswerAction::Refuse, "content encoding " + answer.contentEncoding + " cannot be decoded"};
    }
    // An encoded answer's lengths count the encoded form, not the file.
    if (expectedWhole >= 0 && (content || answer.status == 416) && !answer.Encoded()) {
        const std::int64_t announced = answer.Identity().wholeLength;
        if (announced >= 0 && announced != expectedWhole) {
            return {AnswerAction::Refuse, "the answer announces a file of " + std::to_string(announced) +
                                              " bytes, the manifest " + std::to_string(expectedWhole)};
        }
    }
    if (!startOffset) {
        if (content) return {AnswerAction::WriteFromStart, "new download"};
        return {AnswerAction::Refuse, "status " + std::to_string(answer.status)};
    }
    const std::int64_t localSize = *startOffset;
    const ServedIdentity served = answer.Identity();
    const Text changed = stored ? IdentityDifference(*stored, served) : Text();
    if (answer.status == 416) {
        if (served.wholeLength != localSize) {
            return {AnswerAction::Restart, "416: whole length " + std::to_string(served.wholeLength) +
                                               " is not the local size " + std::to_string(localSize)};
        }
        if (!changed.empty()) return {AnswerAction::Restart, "416: " + changed};
        return {AnswerAction::Complete, "416: the partial file is the whole file"};
    }
    if (answer.status == 200) {
        return {AnswerAction::WriteFromStart, "200 to a ranged request: the whole file follows"};
    }
    if (answer.status != 206) return {AnswerAction::Refuse, "status " + std::to_string(answer.status)};
    if (answer.Encoded()) {
        return {AnswerAction::Restart, "206 with content encoding " + answer.contentEncoding +
                                           " is a range of the encoded form"};
    }
    const ContentRange range = ParseContentRange(answer.contentRange);
    if (range.first != localSize) {
        return {AnswerAction::Restart, "206 starts at " + std::to_string(range.first) + ", not at " +
                                           std::to_string(localSize)};
    }
    if (range.whole >= 0 && range.whole < localSize) {
        return {AnswerAction::Restart, "whole length " + std::to_string(range.whole) +
                                           " is smaller than the local size " + std::to_string(localSize)};
    }
    if (!changed.empty()) return {AnswerAction::Restart, changed};
    return {AnswerAction::Append, "206 continues the partial file"};
}
