#include "runtime/bytes.h"

#include "runtime/fatal.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kFirstType = kBytesByte;
constexpr int kLastType = kBytesText;
constexpr std::size_t kWidths[] = {1, 2, 4, 8, 4, 8, 4, 8, 4};
// The span of valid dates (years 100 to 9999).
constexpr double kFirstDate = -657434.0;
constexpr double kLastDate = 2958465.0;
constexpr std::uint32_t kStoredDimensions = 1;
constexpr std::size_t kStoredHeaderSize = 8;

ByteArray Slice(const ByteArray& bytes, std::size_t from, std::size_t count) {
    from = std::min(from, bytes.size());
    count = std::min(count, bytes.size() - from);
    return ByteArray(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                     bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

// Little-endian value of up to 8 bytes at offset; bytes past the end (or all
// of them for a negative offset) read as zero.
std::uint64_t ReadPadded(const ByteArray& bytes, long long offset, std::size_t width) {
    std::uint64_t value = 0;
    if (offset < 0) return 0;
    for (std::size_t i = 0; i < width; ++i) {
        const auto at = static_cast<unsigned long long>(offset) + i;
        if (at >= bytes.size()) break;
        value |= static_cast<std::uint64_t>(bytes[at]) << (8 * i);
    }
    return value;
}

template <typename T, typename Bits>
T FromBits(Bits bits) {
    T value;
    static_assert(sizeof value == sizeof bits, "width mismatch");
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

BytesValue Read(const ByteArray& bytes, int type, int position, long long& consumed) {
    if (type < kFirstType || type > kLastType) {
        FatalRuntimeError("“欲取出数据的类型”参数值无效");
    }
    const long long offset = static_cast<long long>(position) - 1;
    if (type == kBytesText) {
        Text text;
        consumed = 0;
        if (offset < 0 || static_cast<unsigned long long>(offset) >= bytes.size()) return text;
        const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(offset);
        const auto zero = std::find(begin, bytes.end(), std::uint8_t{0});
        text.assign(begin, zero);
        consumed = static_cast<long long>(text.size()) + (zero != bytes.end() ? 1 : 0);
        return text;
    }
    const std::size_t width = kWidths[type - 1];
    consumed = static_cast<long long>(width);
    const std::uint64_t raw = ReadPadded(bytes, offset, width);
    switch (type) {
    case kBytesByte: return static_cast<std::uint8_t>(raw);
    case kBytesShort: return static_cast<std::int16_t>(static_cast<std::uint16_t>(raw));
    case kBytesInt: return static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
    case kBytesInt64: return static_cast<std::int64_t>(raw);
    case kBytesFloat: return FromBits<float>(static_cast<std::uint32_t>(raw));
    case kBytesDouble: return FromBits<double>(raw);
    case kBytesBool: return static_cast<std::uint32_t>(raw) != 0;
    case kBytesDateTime: {
        const double days = FromBits<double>(raw);
        return DateTime{std::min(std::max(days, kFirstDate), kLastDate)};
    }
    default: return RoutineAddress{static_cast<std::uint32_t>(raw)};
    }
}

}  // namespace

int BytesLength(const ByteArray& bytes) { return static_cast<int>(bytes.size()); }

ByteArray BytesLeft(const ByteArray& bytes, int n) {
    if (n < 0) return ByteArray();
    return Slice(bytes, 0, static_cast<std::size_t>(n));
}

ByteArray BytesRight(const ByteArray& bytes, int n) {
    const std::size_t count = std::min(static_cast<std::size_t>(std::max(n, 0)), bytes.size());
    return Slice(bytes, bytes.size() - count, count);
}

ByteArray BytesMiddle(const ByteArray& bytes, int start, int n) {
    const long long from = std::max(static_cast<long long>(start) - 1, 0LL);
    return Slice(bytes, static_cast<std::size_t>(std::min<long long>(from, static_cast<long long>(bytes.size()))),
                 static_cast<std::size_t>(std::max(n, 0)));
}

ByteArray ZeroBytes(int n) { return n <= 0 ? ByteArray() : ByteArray(static_cast<std::size_t>(n), 0); }

ByteArray BytesAtAddress(const void* address, int n) {
    if (address == nullptr || n <= 0) return ByteArray();
    const auto* first = static_cast<const std::uint8_t*>(address);
    return ByteArray(first, first + n);
}

BytesValue ReadBytesValue(const ByteArray& bytes, int type, int& position) {
    long long consumed = 0;
    BytesValue value = Read(bytes, type, position, consumed);
    const long long next = static_cast<long long>(position) - 1 + consumed;
    position = next >= static_cast<long long>(bytes.size()) ? -1 : static_cast<int>(next + 1);
    return value;
}

BytesValue ReadBytesValue(const ByteArray& bytes, int type) { return ReadBytesValueAt(bytes, type, 1); }

BytesValue ReadBytesValueAt(const ByteArray& bytes, int type, int position) {
    long long consumed = 0;
    return Read(bytes, type, position, consumed);
}

double BytesValueNumber(const BytesValue& value) {
    switch (value.index()) {
    case kBytesByte - 1: return std::get<std::uint8_t>(value);
    case kBytesShort - 1: return std::get<std::int16_t>(value);
    case kBytesInt - 1: return std::get<std::int32_t>(value);
    case kBytesInt64 - 1: return static_cast<double>(std::get<std::int64_t>(value));
    case kBytesFloat - 1: return std::get<float>(value);
    case kBytesDouble - 1: return std::get<double>(value);
    case kBytesRoutine - 1: return std::get<RoutineAddress>(value).address;
    default: FatalRuntimeError("未得到所需要的数值型数据", kFatalNotANumber);
    }
}

StoredBytesView ViewStoredBytes(const std::uint8_t* stored, std::size_t storedSize) {
    if (stored == nullptr || storedSize < kStoredHeaderSize) return {};
    std::uint32_t dimensions = 0;
    std::uint32_t count = 0;
    for (int i = 0; i < 4; ++i) {
        dimensions |= static_cast<std::uint32_t>(stored[i]) << (8 * i);
        count |= static_cast<std::uint32_t>(stored[4 + i]) << (8 * i);
    }
    if (dimensions != kStoredDimensions || count > storedSize - kStoredHeaderSize) return {};
    return {stored + kStoredHeaderSize, count};
}

ByteArray ReadStoredBytes(const std::uint8_t* stored, std::size_t storedSize) {
    const StoredBytesView view = ViewStoredBytes(stored, storedSize);
    if (view.size == 0) return ByteArray();
    return ByteArray(view.data, view.data + view.size);
}

ByteArray StoreBytes(const ByteArray& bytes) {
    ByteArray stored;
    stored.reserve(kStoredHeaderSize + bytes.size());
    stored.resize(kStoredHeaderSize);
    const auto count = static_cast<std::uint32_t>(bytes.size());
    for (int i = 0; i < 4; ++i) {
        stored[i] = static_cast<std::uint8_t>(kStoredDimensions >> (8 * i));
        stored[4 + i] = static_cast<std::uint8_t>(count >> (8 * i));
    }
    stored.insert(stored.end(), bytes.begin(), bytes.end());
    return stored;
}
