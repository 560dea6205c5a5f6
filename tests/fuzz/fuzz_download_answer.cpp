// What a download answer means, on arbitrary headers, offsets and published
// sizes: no crash, and the plan never appends to or completes a file the
// answer does not continue, nor accepts another length than the published one.
#include "app/download_answer.h"
#include "app/manifest_core.h"
#include "tests/fuzz/text_fuzz_input.h"

namespace {

// Cuts the input at bytes 0x00 into up to `count` texts.
std::vector<Text> Fields(const std::uint8_t* data, std::size_t size, std::size_t count) {
    std::vector<Text> fields(count);
    std::size_t field = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && field + 1 < count) {
            ++field;
        } else {
            fields[field] += static_cast<char>(data[i]);
        }
    }
    return fields;
}

bool HasLineEnd(const Text& text) { return text.find_first_of("\r\n") != Text::npos; }

}  // namespace

// Layout: status and flags (3 bytes), then fields cut at 0x00: Content-Length,
// Content-Range, Content-Encoding, ETag, Last-Modified, the stored identity
// record, the local size and the published size.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    static const int kStatuses[] = {200, 206, 416, 404, 500, 0};
    DownloadAnswer answer;
    answer.status = data[0] < 6 ? kStatuses[data[0]] : data[0] + 100 * (data[1] % 6);
    const bool resuming = data[2] & 1;
    const bool withRecord = data[2] & 2;
    const std::vector<Text> fields = Fields(data + 3, size - 3, 8);
    answer.contentLength = fields[0];
    answer.contentRange = fields[1];
    answer.contentEncoding = fields[2];
    answer.etag = fields[3];
    answer.lastModified = fields[4];

    const std::int64_t length = ParseLength(answer.contentLength);
    FUZZ_CHECK(length >= -1);
    const ContentRange range = ParseContentRange(answer.contentRange);
    FUZZ_CHECK(range.first >= -1 && range.whole >= -1);

    const ServedIdentity served = answer.Identity();
    if (!HasLineEnd(served.etag) && !HasLineEnd(served.lastModified)) {
        const ServedIdentity back = ParseIdentity(FormatIdentity(served));
        FUZZ_CHECK(back.etag == served.etag && back.lastModified == served.lastModified &&
                   back.wholeLength == served.wholeLength);
    }
    const ServedIdentity stored = ParseIdentity(fields[5]);
    FUZZ_CHECK(IdentityDifference(served, served).empty());

    std::optional<std::int64_t> offset;
    if (resuming) offset = std::max<std::int64_t>(0, ParseLength(fields[6]));
    const PublishedSize published = ReadPublishedSize(fields[7]);
    if (published.state == PublishedSize::State::Present) {
        FUZZ_CHECK(published.bytes >= 0);
        FUZZ_CHECK(!fields[7].empty() && fields[7].find_first_not_of("0123456789") == Text::npos);
    } else {
        FUZZ_CHECK(published.bytes == -1);
    }

    const AnswerPlan plan =
        PlanAnswer(answer, offset, withRecord ? std::optional<ServedIdentity>(stored) : std::nullopt, published.bytes);
    FUZZ_CHECK(!plan.reason.empty());
    const bool content = answer.status == 200 || answer.status == 206;
    switch (plan.action) {
        case AnswerAction::Append:
            FUZZ_CHECK(offset && answer.status == 206 && !answer.Encoded());
            FUZZ_CHECK(range.first == *offset);
            FUZZ_CHECK(range.whole < 0 || range.whole >= *offset);
            if (withRecord) FUZZ_CHECK(IdentityDifference(stored, served).empty());
            break;
        case AnswerAction::Complete:
            FUZZ_CHECK(offset && answer.status == 416 && served.wholeLength == *offset);
            break;
        case AnswerAction::WriteFromStart:
            FUZZ_CHECK(content && answer.Encoding() != ContentEncoding::Unsupported);
            break;
        case AnswerAction::Restart:
            FUZZ_CHECK(offset);
            break;
        case AnswerAction::Refuse:
            break;
    }
    // Content is taken only when it announces the published size, or nothing
    // (an encoded answer's lengths are those of the encoded form).
    if (published.bytes >= 0 && !answer.Encoded() && plan.action != AnswerAction::Refuse &&
        plan.action != AnswerAction::Restart) {
        FUZZ_CHECK(served.wholeLength < 0 || served.wholeLength == published.bytes);
    }
    return 0;
}
