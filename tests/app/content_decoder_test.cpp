// Encoded answers decode to the file's bytes; a truncated or corrupt stream
// never passes for a whole file.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdint>
#include <vector>

#include "app/content_decoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Sample() {
    Bytes bytes;
    std::uint32_t x = 12345;
    for (int i = 0; i < 200000; ++i) {
        x = x * 1103515245 + 12345;
        bytes.push_back(static_cast<std::uint8_t>(i % 7 == 0 ? (x >> 16) : i % 31));
    }
    return bytes;
}

// windowBits: 15 zlib, 15 + 16 gzip, -15 raw deflate.
Bytes Encode(const Bytes& plain, int windowBits) {
    z_stream s{};
    EXPECT_EQ(deflateInit2(&s, 6, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY), Z_OK);
    Bytes out(deflateBound(&s, plain.size()) + 64);
    s.next_in = const_cast<Bytef*>(plain.data());
    s.avail_in = static_cast<uInt>(plain.size());
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&s, Z_FINISH), Z_STREAM_END);
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

// Feeds the body in pieces of `piece` bytes, as reads from the network do.
bool DecodeInPieces(ContentDecoder& decoder, const Bytes& body, std::size_t piece, Bytes& out) {
    for (std::size_t at = 0; at < body.size(); at += piece) {
        const std::size_t size = std::min(piece, body.size() - at);
        if (!decoder.Decode(body.data() + at, size, out)) return false;
    }
    return true;
}

}  // namespace

TEST(ContentDecoder, EncodingNames) {
    EXPECT_EQ(ParseContentEncoding(""), ContentEncoding::Identity);
    EXPECT_EQ(ParseContentEncoding("identity"), ContentEncoding::Identity);
    EXPECT_EQ(ParseContentEncoding(" GZIP "), ContentEncoding::Gzip);
    EXPECT_EQ(ParseContentEncoding("x-gzip"), ContentEncoding::Gzip);
    EXPECT_EQ(ParseContentEncoding("Deflate"), ContentEncoding::Deflate);
    EXPECT_EQ(ParseContentEncoding("br"), ContentEncoding::Unsupported);
    EXPECT_EQ(ParseContentEncoding("gzip, gzip"), ContentEncoding::Unsupported);
}

TEST(ContentDecoder, WholeStreamsDecodeInAnyPieceSize) {
    const Bytes plain = Sample();
    struct Case {
        ContentEncoding encoding;
        int windowBits;
    } cases[] = {{ContentEncoding::Gzip, 15 + 16}, {ContentEncoding::Deflate, 15}, {ContentEncoding::Deflate, -15}};
    for (const Case& c : cases) {
        const Bytes body = Encode(plain, c.windowBits);
        for (std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{10240}, body.size()}) {
            SCOPED_TRACE(testing::Message() << "window bits " << c.windowBits << ", pieces of " << piece);
            ContentDecoder decoder(c.encoding);
            Bytes out;
            ASSERT_TRUE(DecodeInPieces(decoder, body, piece, out));
            EXPECT_TRUE(decoder.Finished());
            EXPECT_EQ(out, plain);
        }
    }
}

TEST(ContentDecoder, ConcatenatedGzipMembersAreOneFile) {
    const Bytes first(5000, 'a'), second(7000, 'b');
    Bytes body = Encode(first, 15 + 16);
    const Bytes more = Encode(second, 15 + 16);
    body.insert(body.end(), more.begin(), more.end());
    ContentDecoder decoder(ContentEncoding::Gzip);
    Bytes out;
    ASSERT_TRUE(DecodeInPieces(decoder, body, 333, out));
    EXPECT_TRUE(decoder.Finished());
    Bytes expected = first;
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(out, expected);
}

TEST(ContentDecoder, TruncatedStreamIsNeverFinished) {
    const Bytes plain = Sample();
    for (int windowBits : {15 + 16, 15}) {
        const Bytes body = Encode(plain, windowBits);
        // Cut inside the data, and just before the gzip/zlib trailer's end.
        for (std::size_t keep : {body.size() / 2, body.size() - 1}) {
            ContentDecoder decoder(windowBits > 15 ? ContentEncoding::Gzip : ContentEncoding::Deflate);
            Bytes out;
            ASSERT_TRUE(DecodeInPieces(decoder, Bytes(body.begin(), body.begin() + keep), 10240, out));
            EXPECT_FALSE(decoder.Finished()) << "window bits " << windowBits << ", kept " << keep;
        }
    }
}

TEST(ContentDecoder, CorruptStreamFails) {
    Bytes body = Encode(Sample(), 15 + 16);
    body[body.size() / 2] ^= 0xFF;
    body[body.size() / 2 + 1] ^= 0x55;
    ContentDecoder decoder(ContentEncoding::Gzip);
    Bytes out;
    EXPECT_FALSE(DecodeInPieces(decoder, body, 10240, out) && decoder.Finished());

    const Bytes notGzip(100, 'x');
    ContentDecoder other(ContentEncoding::Gzip);
    EXPECT_FALSE(other.Decode(notGzip.data(), notGzip.size(), out));
}

TEST(ContentDecoder, IdentityPassesBytesThrough) {
    const Bytes plain{1, 2, 3, 0, 5};
    ContentDecoder decoder(ContentEncoding::Identity);
    Bytes out;
    ASSERT_TRUE(decoder.Decode(plain.data(), plain.size(), out));
    EXPECT_TRUE(decoder.Finished());
    EXPECT_EQ(out, plain);
}

// A zlib stream of empty blocks decodes to nothing for as long as the server
// sends them: the bytes kept to retry it as raw deflate stay bounded, and the
// stream still decodes once real data and its end follow.
TEST(ContentDecoder, LookAheadOfAnEmptyZlibStreamIsBounded) {
    const Bytes header{0x78, 0x9c};
    const Bytes emptyStoredBlock{0x00, 0x00, 0x00, 0xff, 0xff};  // not final, length 0
    ContentDecoder decoder(ContentEncoding::Deflate);
    Bytes out;
    ASSERT_TRUE(decoder.Decode(header.data(), header.size(), out));
    Bytes piece;
    for (int i = 0; i < 2048; ++i) piece.insert(piece.end(), emptyStoredBlock.begin(), emptyStoredBlock.end());
    for (int i = 0; i < 100; ++i) {  // 1 MB of blocks that decode to nothing
        ASSERT_TRUE(decoder.Decode(piece.data(), piece.size(), out));
        ASSERT_LE(decoder.LookAheadBytes(), 65536u) << "after " << (i + 1) * piece.size() << " bytes";
    }
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(decoder.Finished());

    // A final stored block "abc", then the Adler-32 of "abc".
    const Bytes rest{0x01, 0x03, 0x00, 0xfc, 0xff, 'a', 'b', 'c', 0x02, 0x4d, 0x01, 0x27};
    ASSERT_TRUE(decoder.Decode(rest.data(), rest.size(), out));
    EXPECT_TRUE(decoder.Finished());
    EXPECT_EQ(out, (Bytes{'a', 'b', 'c'}));
}
