// The decoder of gzip/deflate answers on arbitrary bodies: no crash, the
// look-ahead of a "deflate" body stays bounded however long it runs, and the
// result does not depend on how the body is cut into reads.
#include <cstring>
#include <vector>

#include "app/content_decoder.h"
#include "tests/fuzz/text_fuzz_input.h"

namespace {

constexpr std::size_t kLookAheadLimit = 65536;
constexpr std::size_t kLongPiece = 1024;
// Compressed bodies can expand a thousandfold: feeding stops at this much
// output, which keeps each run short.
constexpr std::size_t kOutputCap = 1 << 18;
// The two cuts are compared for bodies up to this length.
constexpr std::size_t kComparedLength = 2048;

using Bytes = std::vector<std::uint8_t>;

// What came out: its length and its first bytes. The output of one call
// goes through a scratch buffer, since keeping all of a bomb's output costs
// far more than decoding it.
struct Outcome {
    static constexpr std::size_t kKept = 1 << 16;
    bool ok = true;
    bool finished = false;
    std::size_t produced = 0;
    Bytes kept;

    void Add(const Bytes& bytes) {
        produced += bytes.size();
        if (kept.size() < kKept) {
            kept.insert(kept.end(), bytes.begin(), bytes.begin() + std::min(bytes.size(), kKept - kept.size()));
        }
    }
    bool operator==(const Outcome& other) const {
        return ok == other.ok && finished == other.finished && produced == other.produced && kept == other.kept;
    }
};

// Feeds `head` in reads of `piece` bytes, then `rest` in reads of `restPiece`.
Outcome Decode(ContentEncoding encoding, const Bytes& head, std::size_t piece, const Bytes& rest,
               std::size_t restPiece) {
    ContentDecoder decoder(encoding);
    Outcome outcome;
    Bytes scratch;
    const auto feed = [&](const Bytes& bytes, std::size_t step) {
        for (std::size_t at = 0; outcome.ok && at < bytes.size() && outcome.produced <= kOutputCap; at += step) {
            const std::size_t size = std::min(step, bytes.size() - at);
            scratch.clear();
            outcome.ok = decoder.Decode(bytes.data() + at, size, scratch);
            if (outcome.ok) outcome.Add(scratch);
            FUZZ_CHECK(decoder.LookAheadBytes() <= kLookAheadLimit);
        }
    };
    feed(head, piece);
    feed(rest, restPiece);
    outcome.finished = decoder.Finished();
    return outcome;
}

}  // namespace

// Layout: encoding, read size, length of the long part, body. The body's
// first half is read in short reads; its second half, repeated up to the
// long part's length (so a short input can make a body longer than the
// look-ahead), in long reads.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    static const ContentEncoding kEncodings[] = {ContentEncoding::Gzip, ContentEncoding::Deflate,
                                                 ContentEncoding::Identity};
    const ContentEncoding encoding = kEncodings[data[0] % 3];
    const std::size_t piece = 1 + data[1] % 64;
    const Bytes body(data + 3, data + size);
    const Bytes head(body.begin(), body.begin() + body.size() / 2);
    const Bytes tail(body.begin() + body.size() / 2, body.end());
    // Doubling copies: a byte-wise loop costs more than the decoding under
    // the fuzzer's instrumentation.
    Bytes rest(tail.empty() ? 0 : std::size_t{data[2]} * 320);
    for (std::size_t done = 0; done < rest.size();) {
        const std::size_t size = std::min(done ? done : tail.size(), rest.size() - done);
        std::memcpy(rest.data() + done, done ? rest.data() : tail.data(), size);
        done += size;
    }

    const Outcome pieces = Decode(encoding, head, piece, rest, kLongPiece);
    if (encoding == ContentEncoding::Identity) {
        FUZZ_CHECK(pieces.ok && pieces.finished);
        FUZZ_CHECK(pieces.produced == head.size() + rest.size());
    }
    // The cut into reads changes nothing (short bodies, within the look-ahead,
    // read to their end).
    if (head.size() + rest.size() <= kComparedLength && pieces.produced <= kOutputCap) {
        Bytes whole = head;
        whole.insert(whole.end(), rest.begin(), rest.end());
        const Outcome once = Decode(encoding, whole, whole.size() + 1, Bytes(), 1);
        FUZZ_CHECK(once.ok == pieces.ok);
        if (once.ok) FUZZ_CHECK(once == pieces);
    }
    return 0;
}
