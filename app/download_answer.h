// What a download answer means for the local file (portable): the served
// file's identity, the byte ranges, and whether a partial file may be
// appended to, must be written from the start, or is already complete.
#pragma once

#include <cstdint>
#include <optional>

#include "app/content_decoder.h"
#include "runtime/value_types.h"

// What identifies the file a server serves. Empty texts and a length of -1
// mean "not sent".
struct ServedIdentity {
    Text etag;
    Text lastModified;
    std::int64_t wholeLength = -1;

    bool Empty() const { return etag.empty() && lastModified.empty() && wholeLength < 0; }
};

// The small file kept beside a partial download: one "name: value" line each.
Text FormatIdentity(const ServedIdentity& identity);
ServedIdentity ParseIdentity(const Text& text);

// "bytes a-b/n" gives first = a, whole = n; "bytes */n" gives whole = n.
// Missing parts are -1; a whole length of "*" is -1.
struct ContentRange {
    std::int64_t first = -1;
    std::int64_t whole = -1;
};
ContentRange ParseContentRange(const Text& header);

// A decimal length header; -1 when absent or not a number.
std::int64_t ParseLength(const Text& header);

// The headers of one answer, as received.
struct DownloadAnswer {
    int status = 0;
    Text contentLength;
    Text contentRange;
    Text contentEncoding;
    Text etag;
    Text lastModified;

    ContentEncoding Encoding() const { return ParseContentEncoding(contentEncoding); }
    bool Encoded() const { return Encoding() != ContentEncoding::Identity; }
    // The Content-Length of the file's bytes: -1 while the body is encoded,
    // since the header then counts the encoded form.
    std::int64_t FileBytesLength() const;
    // The identity this answer gives of the whole file.
    ServedIdentity Identity() const;
};

enum class AnswerAction {
    WriteFromStart,  // the body is the whole file: write it from byte 0
    Append,          // the body continues the partial file
    Complete,        // the partial file already is the whole file
    Restart,         // discard the partial file: ask again for the whole file
    Refuse,          // no content for this file ("不能打开该URL!")
};

struct AnswerPlan {
    AnswerAction action;
    Text reason;  // why, for the update log
};

// `startOffset` is the local size when resuming; `stored` the identity kept
// from the answer that began the partial file (none when there is no such
// record). Without any identity the length rules alone apply.
// `expectedWhole` is the file's size as the manifest publishes it (-1: not
// published): an answer announcing another whole length is refused.
AnswerPlan PlanAnswer(const DownloadAnswer& answer, std::optional<std::int64_t> startOffset,
                      const std::optional<ServedIdentity>& stored, std::int64_t expectedWhole = -1);

// Why the answer's identity differs from the stored one; empty when it does
// not. A value the stored record has but the answer lacks counts as
// different: the server can no longer confirm it serves the same file.
Text IdentityDifference(const ServedIdentity& stored, const ServedIdentity& answer);
