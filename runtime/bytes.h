// Byte-array operations: cuts, zero fill, reading typed values out of an
// array, copying from an address, and the stored layout of byte-array
// constants (int32 1, int32 count, then the bytes).
#pragma once

#include "runtime/value_types.h"

#include <cstddef>
#include <cstdint>
#include <variant>

int BytesLength(const ByteArray& bytes);
ByteArray BytesLeft(const ByteArray& bytes, int n);
ByteArray BytesRight(const ByteArray& bytes, int n);
ByteArray BytesMiddle(const ByteArray& bytes, int start, int n);
ByteArray ZeroBytes(int n);
// n ≤ 0 or a null address gives empty.
ByteArray BytesAtAddress(const void* address, int n);

// Type numbers of ReadBytesValue; they are part of the interface.
enum BytesValueType : int {
    kBytesByte = 1,
    kBytesShort = 2,
    kBytesInt = 3,
    kBytesInt64 = 4,
    kBytesFloat = 5,
    kBytesDouble = 6,
    kBytesBool = 7,
    kBytesDateTime = 8,
    kBytesRoutine = 9,
    kBytesText = 10,
};

// A routine address read from bytes (4 bytes wide in the stored form).
struct RoutineAddress {
    std::uint32_t address = 0;
};

// One alternative per type number, in type-number order (index = type - 1).
using BytesValue = std::variant<std::uint8_t, std::int16_t, std::int32_t, std::int64_t, float, double,
                                bool, DateTime, RoutineAddress, Text>;

// Reads the value of `type` at the 1-based `position`. Missing high-order
// bytes read as zero; a type outside 1..10 is a fatal error. The reference
// form moves position past the value, or sets it to -1 at the end.
BytesValue ReadBytesValue(const ByteArray& bytes, int type, int& position);
BytesValue ReadBytesValue(const ByteArray& bytes, int type);
BytesValue ReadBytesValueAt(const ByteArray& bytes, int type, int position);

// A read value used as a number: the numeric kinds and routine addresses give
// their value; bool, DateTime and Text are a fatal error (code 2).
double BytesValueNumber(const BytesValue& value);

// A byte-array constant in its stored layout, viewed in place. Data that is
// too short, has another dimension count or a count beyond the data gives an
// empty view.
struct StoredBytesView {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};
StoredBytesView ViewStoredBytes(const std::uint8_t* stored, std::size_t storedSize);
ByteArray ReadStoredBytes(const std::uint8_t* stored, std::size_t storedSize);
// The stored layout of `bytes`, for data generated at build time.
ByteArray StoreBytes(const ByteArray& bytes);
