#include "gdip/memory_stream.h"

#include <algorithm>
#include <cstring>

#include "runtime/bytes.h"

MemoryStream MemoryStream::Clone() const {
    MemoryStream copy;
    if (stream_) copy.FromBytes(ReadAll());
    return copy;
}

IStream* MemoryStream::FromBytes(const ByteArray& bytes, int size) {
    Release();
    std::size_t blockSize = size < 0 ? bytes.size() : static_cast<std::size_t>(size);
    GlobalBlockHandle block(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, blockSize));
    if (!block) return nullptr;
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block.Get(), FALSE, &stream)) || !stream) return nullptr;
    ComStreamHandle streamOwner(stream);
    if (void* locked = ::GlobalLock(block.Get())) {
        std::memcpy(locked, bytes.data(), std::min(blockSize, bytes.size()));
        ::GlobalUnlock(block.Get());
    }
    block_ = std::move(block);
    stream_ = std::move(streamOwner);
    return stream_.Get();
}

void MemoryStream::Release() {
    if (!stream_) return;
    stream_.Reset();
    block_.Reset();
}

std::size_t MemoryStream::Size() const { return block_ ? ::GlobalSize(block_.Get()) : 0; }

bool MemoryStream::Attach(IStream* stream) {
    Release();
    if (!stream) return false;
    stream_.Reset(stream);
    HGLOBAL block = nullptr;
    if (FAILED(::GetHGlobalFromStream(stream, &block)) || !block) return false;
    block_.Reset(block);
    return true;
}

ByteArray MemoryStream::ReadAll() const {
    if (!block_) return ByteArray();
    std::size_t size = ::GlobalSize(block_.Get());
    STATSTG stat{};
    if (stream_ && SUCCEEDED(stream_.Get()->Stat(&stat, STATFLAG_NONAME)))
        size = std::min<std::size_t>(size, static_cast<std::size_t>(stat.cbSize.QuadPart));
    const void* locked = ::GlobalLock(block_.Get());
    if (!locked) return ByteArray();
    ByteArray bytes = BytesAtAddress(locked, static_cast<int>(size));
    ::GlobalUnlock(block_.Get());
    return bytes;
}
