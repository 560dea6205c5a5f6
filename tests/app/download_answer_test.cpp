// What an answer means for a partial download: append, write from the start,
// complete, restart or refuse; and the identity record kept beside it.
#include <gtest/gtest.h>

#include "app/download_answer.h"

namespace {

DownloadAnswer Answer(int status, const Text& range = "", const Text& length = "", const Text& etag = "",
                      const Text& encoding = "", const Text& lastModified = "") {
    DownloadAnswer a;
    a.status = status;
    a.contentRange = range;
    a.contentLength = length;
    a.etag = etag;
    a.contentEncoding = encoding;
    a.lastModified = lastModified;
    return a;
}

ServedIdentity Identity(const Text& etag, const Text& lastModified, std::int64_t length) {
    ServedIdentity i;
    i.etag = etag;
    i.lastModified = lastModified;
    i.wholeLength = length;
    return i;
}

AnswerAction Action(const DownloadAnswer& a, std::optional<std::int64_t> offset,
                    const std::optional<ServedIdentity>& stored = std::nullopt) {
    return PlanAnswer(a, offset, stored).action;
}

}  // namespace

TEST(DownloadAnswer, HeaderNumbersAre64Bit) {
    EXPECT_EQ(ParseLength("5368709120"), 5368709120LL);
    EXPECT_EQ(ParseLength(" 42 "), 42);
    EXPECT_EQ(ParseLength(""), -1);
    EXPECT_EQ(ParseLength("12x"), -1);
    const ContentRange r = ParseContentRange("bytes 4294967296-5368709119/5368709120");
    EXPECT_EQ(r.first, 4294967296LL);
    EXPECT_EQ(r.whole, 5368709120LL);
    const ContentRange unsatisfied = ParseContentRange("bytes */1000");
    EXPECT_EQ(unsatisfied.first, -1);
    EXPECT_EQ(unsatisfied.whole, 1000);
    EXPECT_EQ(ParseContentRange("bytes 0-9/*").whole, -1);
    EXPECT_EQ(ParseContentRange("").first, -1);
}

TEST(DownloadAnswer, IdentityRecordRoundTrip) {
    const ServedIdentity i = Identity("\"abc-1\"", "Tue, 08 Dec 2026 10:00:00 GMT", 5368709120LL);
    const ServedIdentity back = ParseIdentity(FormatIdentity(i));
    EXPECT_EQ(back.etag, i.etag);
    EXPECT_EQ(back.lastModified, i.lastModified);
    EXPECT_EQ(back.wholeLength, i.wholeLength);
    EXPECT_TRUE(ParseIdentity("garbage").Empty());
    // An encoded 200 gives no whole length: its Content-Length counts the encoded form.
    EXPECT_EQ(Answer(200, "", "500", "\"e\"", "gzip").Identity().wholeLength, -1);
    EXPECT_EQ(Answer(200, "", "500").Identity().wholeLength, 500);
    EXPECT_EQ(Answer(206, "bytes 100-999/1000", "900").Identity().wholeLength, 1000);
}

TEST(DownloadAnswer, NewDownload) {
    EXPECT_EQ(Action(Answer(200, "", "10"), std::nullopt), AnswerAction::WriteFromStart);
    EXPECT_EQ(Action(Answer(200, "", "", "", "gzip"), std::nullopt), AnswerAction::WriteFromStart);
    EXPECT_EQ(Action(Answer(404), std::nullopt), AnswerAction::Refuse);
    EXPECT_EQ(Action(Answer(200, "", "", "", "br"), std::nullopt), AnswerAction::Refuse);
}

TEST(DownloadAnswer, ResumeByLengthAlone) {
    EXPECT_EQ(Action(Answer(206, "bytes 1000-9999/10000", "9000"), 1000), AnswerAction::Append);
    EXPECT_EQ(Action(Answer(206, "bytes 0-9999/10000", "10000"), 1000), AnswerAction::Restart);
    EXPECT_EQ(Action(Answer(200, "", "10000"), 1000), AnswerAction::WriteFromStart);
    EXPECT_EQ(Action(Answer(416, "bytes */1000"), 1000), AnswerAction::Complete);
    // The partial file is longer or shorter than the whole file now served.
    EXPECT_EQ(Action(Answer(416, "bytes */800"), 1000), AnswerAction::Restart);
    EXPECT_EQ(Action(Answer(416, ""), 1000), AnswerAction::Restart);
    EXPECT_EQ(Action(Answer(206, "bytes 1000-1000/900", "1"), 1000), AnswerAction::Restart);
    EXPECT_EQ(Action(Answer(500), 1000), AnswerAction::Refuse);
}

TEST(DownloadAnswer, EncodedRangeIsNeverAppended) {
    const AnswerPlan plan = PlanAnswer(Answer(206, "bytes 1000-1499/1500", "500", "", "gzip"), 1000, std::nullopt);
    EXPECT_EQ(plan.action, AnswerAction::Restart);
    EXPECT_NE(plan.reason.find("gzip"), Text::npos);
    EXPECT_EQ(Answer(206, "bytes 1000-1499/1500", "500", "", "gzip").FileBytesLength(), -1);
    // An encoded 200 to a ranged request is the whole file, decoded from byte 0.
    EXPECT_EQ(Action(Answer(200, "", "500", "", "deflate"), 1000), AnswerAction::WriteFromStart);
}

TEST(DownloadAnswer, ResumeOnlyWhileTheSameFileIsServed) {
    const ServedIdentity stored = Identity("\"v1\"", "Mon, 07 Dec 2026 10:00:00 GMT", 10000);
    const Text lm = "Mon, 07 Dec 2026 10:00:00 GMT";
    EXPECT_EQ(Action(Answer(206, "bytes 1000-9999/10000", "9000", "\"v1\"", "", lm), 1000, stored),
              AnswerAction::Append);
    EXPECT_EQ(Action(Answer(206, "bytes 1000-9999/10000", "9000", "\"v2\"", "", lm), 1000, stored),
              AnswerAction::Restart);
    EXPECT_EQ(Action(Answer(206, "bytes 1000-9999/10000", "9000", "\"v1\"", "", "Tue, 08 Dec 2026"), 1000, stored),
              AnswerAction::Restart);
    // Same tags, another length: not the same file.
    EXPECT_EQ(Action(Answer(206, "bytes 1000-10999/11000", "10000", "\"v1\"", "", lm), 1000, stored),
              AnswerAction::Restart);
    // A complete partial file of equal length from another release.
    EXPECT_EQ(Action(Answer(416, "bytes */10000", "", "\"v2\""), 10000, stored), AnswerAction::Restart);
    EXPECT_EQ(Action(Answer(416, "bytes */10000", "", "\"v1\"", "", lm), 10000, stored), AnswerAction::Complete);
    // The server no longer sends the tag it sent before: it cannot confirm the file.
    EXPECT_EQ(Action(Answer(416, "bytes */10000"), 10000, stored), AnswerAction::Restart);
    // Only a length was recorded: the length rules alone apply.
    EXPECT_EQ(Action(Answer(206, "bytes 1000-9999/10000", "9000", "\"any\""), 1000, Identity("", "", 10000)),
              AnswerAction::Append);
}

// With the size the manifest publishes, an answer announcing another whole
// length carries no content for this file, whatever else it says.
TEST(DownloadAnswer, AnnouncedLengthMustBeThePublishedSize) {
    const auto plan = [](const DownloadAnswer& a, std::optional<std::int64_t> offset) {
        return PlanAnswer(a, offset, std::nullopt, 10000).action;
    };
    EXPECT_EQ(plan(Answer(200, "", "10000"), std::nullopt), AnswerAction::WriteFromStart);
    EXPECT_EQ(plan(Answer(200, "", "10001"), std::nullopt), AnswerAction::Refuse);
    EXPECT_EQ(plan(Answer(200, "", "9999"), 1000), AnswerAction::Refuse);
    EXPECT_EQ(plan(Answer(206, "bytes 1000-9999/10000", "9000"), 1000), AnswerAction::Append);
    EXPECT_EQ(plan(Answer(206, "bytes 1000-10999/11000", "10000"), 1000), AnswerAction::Refuse);
    EXPECT_EQ(plan(Answer(416, "bytes */10000"), 10000), AnswerAction::Complete);
    EXPECT_EQ(plan(Answer(416, "bytes */12000"), 12000), AnswerAction::Refuse);
    // A partial file longer than the published size: the whole file again.
    EXPECT_EQ(plan(Answer(416, "bytes */10000"), 12000), AnswerAction::Restart);
    // Nothing announced (no length, encoded, "*"): the transfer's bound applies.
    EXPECT_EQ(plan(Answer(200), std::nullopt), AnswerAction::WriteFromStart);
    EXPECT_EQ(plan(Answer(200, "", "50", "", "gzip"), std::nullopt), AnswerAction::WriteFromStart);
    EXPECT_EQ(plan(Answer(206, "bytes 1000-9999/*", "9000"), 1000), AnswerAction::Append);
    // An encoded range counts the encoded form: the whole file is asked for.
    EXPECT_EQ(plan(Answer(206, "bytes 1000-2999/3000", "2000", "", "gzip"), 1000), AnswerAction::Restart);
    EXPECT_NE(PlanAnswer(Answer(200, "", "10001"), std::nullopt, std::nullopt, 10000).reason.find("10001"),
              Text::npos);
}
