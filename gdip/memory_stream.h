// A COM stream over a movable global block: how image bytes reach GDI+ and
// how encoded images come back. The stream does not free the block on its
// own release; Release frees both.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstddef>

#include "runtime/unique_handle.h"
#include "runtime/value_types.h"

struct ComStreamTraits {
    using Handle = IStream*;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { h->Release(); }
};
using GlobalBlockHandle = UniqueHandle<NullHandleTraits<HGLOBAL, ::GlobalFree>>;
using ComStreamHandle = UniqueHandle<ComStreamTraits>;

class MemoryStream {
public:
    MemoryStream() = default;
    MemoryStream(MemoryStream&&) noexcept = default;
    MemoryStream& operator=(MemoryStream&&) noexcept = default;
    ~MemoryStream() { Destroy(); }

    void Destroy() { Release(); }
    // An independent stream over a copy of the same bytes.
    MemoryStream Clone() const;

    // A stream over a new block holding `bytes` (size < 0: the whole array;
    // a larger size leaves zeros after the bytes). Null on failure.
    IStream* FromBytes(const ByteArray& bytes, int size = -1);
    // Releases the stream and frees the block.
    void Release();
    std::size_t Size() const;
    IStream* GetStream() const { return stream_.Get(); }
    HGLOBAL GetBlock() const { return block_.Get(); }
    // Releases what it holds, then takes over the caller's reference to a
    // stream made elsewhere; true when the stream has a global block.
    bool Attach(IStream* stream);
    // The bytes written to the stream (its own size; GlobalSize may be
    // rounded up past the end of the data).
    ByteArray ReadAll() const;

private:
    GlobalBlockHandle block_;
    ComStreamHandle stream_;
};
