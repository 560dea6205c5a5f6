#include "app/content_decoder.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>

namespace {

constexpr int kGzipWindow = 15 + 16;  // zlib: 16 added = gzip wrapper only
constexpr int kZlibWindow = 15;
constexpr int kRawWindow = -15;
constexpr std::size_t kOutputPiece = 65536;
// The most encoded bytes kept while a "deflate" body's form is unknown. A
// raw stream fails as zlib within its first bytes and a zlib stream gives
// output soon; one that gives none for this long (empty blocks without end)
// is taken as zlib and no longer kept.
constexpr std::size_t kProbeLimit = 65536;

Text Trimmed(const Text& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == Text::npos) return Text();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

ContentEncoding ParseContentEncoding(const Text& headerValue) {
    Text value = Trimmed(headerValue);
    std::transform(value.begin(), value.end(), value.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (value.empty() || value == "identity") return ContentEncoding::Identity;
    if (value == "gzip" || value == "x-gzip") return ContentEncoding::Gzip;
    if (value == "deflate") return ContentEncoding::Deflate;
    return ContentEncoding::Unsupported;
}

struct ContentDecoder::State {
    ContentEncoding encoding;
    z_stream stream{};
    bool open = false;
    bool finished = false;
    // "deflate" should carry a zlib header, but some servers send a raw
    // deflate stream. The bytes are kept until the first output shows which
    // one it is, so a wrong guess can be decoded again from the start.
    bool probing = false;
    std::vector<std::uint8_t> seen;
    // inflate's output goes here first; kept on the heap, made once.
    std::unique_ptr<std::uint8_t[]> piece{new std::uint8_t[kOutputPiece]};

    bool Open(int windowBits) {
        Close();
        stream = z_stream{};
        open = inflateInit2(&stream, windowBits) == Z_OK;
        return open;
    }
    void Close() {
        if (open) inflateEnd(&stream);
        open = false;
    }

    // Runs the bytes through inflate; Z_DATA_ERROR and the like give false.
    bool Inflate(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out) {
        stream.next_in = const_cast<Bytef*>(data);
        stream.avail_in = static_cast<uInt>(size);
        for (;;) {
            if (finished) {
                // Another gzip member may follow; anything after a deflate
                // stream's end is not part of the file.
                if (stream.avail_in == 0 || encoding != ContentEncoding::Gzip) return true;
                if (inflateReset(&stream) != Z_OK) return false;
                finished = false;
            }
            stream.next_out = piece.get();
            stream.avail_out = static_cast<uInt>(kOutputPiece);
            const int result = inflate(&stream, Z_NO_FLUSH);
            const std::size_t produced = kOutputPiece - stream.avail_out;
            out.insert(out.end(), piece.get(), piece.get() + produced);
            if (result == Z_STREAM_END) {
                finished = true;
                continue;
            }
            if (result == Z_BUF_ERROR && stream.avail_in == 0) return true;  // needs more input
            if (result != Z_OK) return false;
            if (stream.avail_in == 0 && stream.avail_out != 0) return true;
        }
    }
};

ContentDecoder::ContentDecoder(ContentEncoding encoding) : state_(std::make_unique<State>()) {
    state_->encoding = encoding;
    if (encoding == ContentEncoding::Gzip) state_->Open(kGzipWindow);
    if (encoding == ContentEncoding::Deflate) {
        state_->Open(kZlibWindow);
        state_->probing = true;
    }
}

ContentDecoder::~ContentDecoder() { state_->Close(); }

bool ContentDecoder::Decode(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out) {
    State& s = *state_;
    if (s.encoding == ContentEncoding::Identity) {
        out.insert(out.end(), data, data + size);
        return true;
    }
    if (s.encoding == ContentEncoding::Unsupported || !s.open) return false;
    if (!s.probing) return s.Inflate(data, size, out);

    const std::size_t before = out.size();
    if (s.Inflate(data, size, out)) {
        if (out.size() > before || s.finished || s.seen.size() + size > kProbeLimit) {
            s.probing = false;
            std::vector<std::uint8_t>().swap(s.seen);
        } else {
            s.seen.insert(s.seen.end(), data, data + size);
        }
        return true;
    }
    // Not a zlib stream: decode everything seen so far as raw deflate.
    out.resize(before);
    s.probing = false;
    if (!s.Open(kRawWindow)) return false;
    std::vector<std::uint8_t> seen;
    seen.swap(s.seen);
    return s.Inflate(seen.data(), seen.size(), out) && s.Inflate(data, size, out);
}

bool ContentDecoder::Finished() const {
    return state_->encoding == ContentEncoding::Identity || state_->finished;
}

std::size_t ContentDecoder::LookAheadBytes() const { return state_->seen.size(); }
