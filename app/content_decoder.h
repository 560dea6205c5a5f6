// Decoding of a gzip- or deflate-encoded response body (portable, zlib).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/value_types.h"

enum class ContentEncoding { Identity, Gzip, Deflate, Unsupported };

// The Content-Encoding header's value: absent or "identity" is the file
// itself; "gzip"/"x-gzip" and "deflate" are decoded; anything else is not.
ContentEncoding ParseContentEncoding(const Text& headerValue);

// Turns the encoded bytes of one response into the file's bytes.
class ContentDecoder {
public:
    explicit ContentDecoder(ContentEncoding encoding);
    ~ContentDecoder();
    ContentDecoder(const ContentDecoder&) = delete;
    ContentDecoder& operator=(const ContentDecoder&) = delete;

    // Appends what `data` decodes to `out`; false when the stream is corrupt.
    bool Decode(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out);
    // True once the stream's end marker was seen (always true for identity):
    // an encoded body that ends before it is a truncated transfer.
    bool Finished() const;
    // Encoded bytes held back while a "deflate" body's form is still unknown.
    std::size_t LookAheadBytes() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};
