#include "runtime/bytes.h"

#include "runtime/conversions.h"

#include "tests/runtime/fatal_capture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const ByteArray kFive{1, 2, 3, 4, 5};

TEST(BytesCuts, ClampAsEachOperationSays) {
    EXPECT_EQ(BytesLength(kFive), 5);
    EXPECT_EQ(BytesLength(ByteArray()), 0);
    EXPECT_EQ(BytesLeft(kFive, 2), (ByteArray{1, 2}));
    EXPECT_TRUE(BytesLeft(kFive, -1).empty());
    EXPECT_TRUE(BytesLeft(kFive, 0).empty());
    EXPECT_EQ(BytesLeft(kFive, 9), kFive);
    EXPECT_EQ(BytesRight(kFive, 2), (ByteArray{4, 5}));
    EXPECT_TRUE(BytesRight(kFive, -3).empty());
    EXPECT_EQ(BytesRight(kFive, 9), kFive);
    EXPECT_EQ(BytesMiddle(kFive, 2, 3), (ByteArray{2, 3, 4}));
    EXPECT_EQ(BytesMiddle(kFive, 0, 2), (ByteArray{1, 2}));
    EXPECT_EQ(BytesMiddle(kFive, -7, 1), (ByteArray{1}));
    EXPECT_EQ(BytesMiddle(kFive, 4, 9), (ByteArray{4, 5}));
    EXPECT_TRUE(BytesMiddle(kFive, 6, 1).empty());
    EXPECT_TRUE(BytesMiddle(kFive, 99, 1).empty());
    EXPECT_TRUE(BytesMiddle(kFive, 2, -1).empty());
}

TEST(BytesMisc, ZeroBytesAndAddress) {
    EXPECT_EQ(ZeroBytes(3), (ByteArray{0, 0, 0}));
    EXPECT_TRUE(ZeroBytes(0).empty());
    EXPECT_TRUE(ZeroBytes(-1).empty());
    const char raw[] = {'a', 0, 'b'};
    EXPECT_EQ(BytesAtAddress(raw, 3), (ByteArray{'a', 0, 'b'}));
    EXPECT_TRUE(BytesAtAddress(raw, 0).empty());
    EXPECT_TRUE(BytesAtAddress(nullptr, 4).empty());
}

TEST(ReadBytesValue, ReadsEachTypeLittleEndian) {
    const ByteArray bytes{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x88};
    EXPECT_EQ(std::get<std::uint8_t>(ReadBytesValue(bytes, kBytesByte)), 0x01);
    EXPECT_EQ(std::get<std::int16_t>(ReadBytesValue(bytes, kBytesShort)), 0x0201);
    EXPECT_EQ(std::get<std::int32_t>(ReadBytesValue(bytes, kBytesInt)), 0x04030201);
    EXPECT_EQ(std::get<std::int64_t>(ReadBytesValue(bytes, kBytesInt64)), static_cast<std::int64_t>(0x8807060504030201ULL));
    EXPECT_EQ(std::get<std::int16_t>(ReadBytesValueAt(ByteArray{0xFE, 0xFF}, kBytesShort, 1)), -2);
    EXPECT_EQ(std::get<float>(ReadBytesValue(ByteArray{0, 0, 0x80, 0x3F}, kBytesFloat)), 1.0f);
    EXPECT_EQ(std::get<double>(ReadBytesValue(ByteArray{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}, kBytesDouble)), 1.0);
    EXPECT_TRUE(std::get<bool>(ReadBytesValue(ByteArray{0, 0, 0, 2}, kBytesBool)));
    EXPECT_FALSE(std::get<bool>(ReadBytesValue(ByteArray{0, 0, 0, 0, 1}, kBytesBool)));
    EXPECT_EQ(std::get<RoutineAddress>(ReadBytesValue(bytes, kBytesRoutine)).address, 0x04030201u);
    EXPECT_EQ(std::get<Text>(ReadBytesValue(ByteArray{'h', 'i', 0, 'x'}, kBytesText)), "hi");
}

TEST(ReadBytesValue, MissingHighBytesReadAsZero) {
    const ByteArray bytes{0x11, 0x22, 0x33};
    EXPECT_EQ(std::get<std::int32_t>(ReadBytesValue(bytes, kBytesInt)), 0x332211);
    EXPECT_EQ(std::get<std::int32_t>(ReadBytesValueAt(bytes, kBytesInt, 3)), 0x33);
    EXPECT_EQ(std::get<std::int32_t>(ReadBytesValueAt(bytes, kBytesInt, 4)), 0);
    EXPECT_EQ(std::get<std::int32_t>(ReadBytesValueAt(bytes, kBytesInt, 0)), 0);
    EXPECT_EQ(std::get<std::int32_t>(ReadBytesValueAt(bytes, kBytesInt, -5)), 0);
    EXPECT_EQ(std::get<Text>(ReadBytesValueAt(bytes, kBytesText, 9)), "");
    EXPECT_EQ(std::get<Text>(ReadBytesValueAt(bytes, kBytesText, 0)), "");
    EXPECT_EQ(std::get<std::uint8_t>(ReadBytesValue(ByteArray(), kBytesByte)), 0);
}

TEST(ReadBytesValue, DatesAreClampedToTheValidSpan) {
    EXPECT_EQ(std::get<DateTime>(ReadBytesValue(ToBytes(1e9), kBytesDateTime)).days, 2958465.0);
    EXPECT_EQ(std::get<DateTime>(ReadBytesValue(ToBytes(-1e9), kBytesDateTime)).days, -657434.0);
    EXPECT_EQ(std::get<DateTime>(ReadBytesValue(ToBytes(45658.25), kBytesDateTime)).days, 45658.25);
}

TEST(ReadBytesValue, PositionMovesPastTheValueOrBecomesMinusOne) {
    ByteArray bytes = ToBytes(7);
    const ByteArray more = ToBytes(std::int16_t{-9});
    bytes.insert(bytes.end(), more.begin(), more.end());
    bytes.insert(bytes.end(), {'o', 'k', 0, 'z', 'z'});

    int position = 1;
    EXPECT_EQ(std::get<std::int32_t>(ReadBytesValue(bytes, kBytesInt, position)), 7);
    EXPECT_EQ(position, 5);
    EXPECT_EQ(std::get<std::int16_t>(ReadBytesValue(bytes, kBytesShort, position)), -9);
    EXPECT_EQ(position, 7);
    EXPECT_EQ(std::get<Text>(ReadBytesValue(bytes, kBytesText, position)), "ok");
    EXPECT_EQ(position, 10);  // the zero byte is consumed too
    EXPECT_EQ(std::get<Text>(ReadBytesValue(bytes, kBytesText, position)), "zz");
    EXPECT_EQ(position, -1);  // ended by the end of the array

    position = 3;  // a value that runs past the end
    EXPECT_EQ(std::get<std::int64_t>(ReadBytesValue(ByteArray{1, 2, 3, 4}, kBytesInt64, position)), 0x0403);
    EXPECT_EQ(position, -1);
    position = 2;  // a value that ends exactly at the end
    EXPECT_EQ(std::get<std::uint8_t>(ReadBytesValue(ByteArray{1, 2}, kBytesByte, position)), 2);
    EXPECT_EQ(position, -1);
    position = 0;  // nothing is available, but the offset still moves on
    EXPECT_EQ(std::get<std::int16_t>(ReadBytesValue(ByteArray{1, 2, 3, 4}, kBytesShort, position)), 0);
    EXPECT_EQ(position, 2);
}

class ReadBytesValueFatal : public FatalCapture {};

TEST_F(ReadBytesValueFatal, TypeOutsideTheTableStopsTheProgram) {
    for (int type : {0, 11, -1}) {
        int position = 1;
        const CapturedFatal fatal = ExpectFatal([&] { ReadBytesValue(kFive, type, position); });
        EXPECT_EQ(fatal.message, "“欲取出数据的类型”参数值无效");
        EXPECT_EQ(fatal.code, kNoErrorCode);
        EXPECT_EQ(position, 1);
    }
}

TEST_F(ReadBytesValueFatal, OnlyNumericKindsAreNumbers) {
    EXPECT_EQ(BytesValueNumber(ReadBytesValue(ToBytes(-5), kBytesInt)), -5.0);
    EXPECT_EQ(BytesValueNumber(ReadBytesValue(ToBytes(2.5), kBytesDouble)), 2.5);
    EXPECT_EQ(BytesValueNumber(ReadBytesValue(ByteArray{0xFF}, kBytesByte)), 255.0);
    EXPECT_EQ(BytesValueNumber(ReadBytesValue(ToBytes(0x1000), kBytesRoutine)), 4096.0);
    for (int type : {kBytesText, kBytesBool, kBytesDateTime}) {
        const CapturedFatal fatal = ExpectFatal([&] { BytesValueNumber(ReadBytesValue(kFive, type)); });
        EXPECT_EQ(fatal.code, kFatalNotANumber);
        EXPECT_EQ(fatal.message, "未得到所需要的数值型数据");
    }
}

TEST(StoredBytes, RoundTripAndRejectsMalformedHeaders) {
    const ByteArray stored = StoreBytes(ByteArray{0, 9, 8});
    EXPECT_EQ(stored, (ByteArray{1, 0, 0, 0, 3, 0, 0, 0, 0, 9, 8}));
    EXPECT_EQ(ReadStoredBytes(stored.data(), stored.size()), (ByteArray{0, 9, 8}));
    const StoredBytesView view = ViewStoredBytes(stored.data(), stored.size());
    EXPECT_EQ(view.data, stored.data() + 8);
    EXPECT_EQ(view.size, 3u);
    // Trailing data after the counted bytes is not part of the array.
    ByteArray longer = stored;
    longer.push_back(0x77);
    EXPECT_EQ(ReadStoredBytes(longer.data(), longer.size()), (ByteArray{0, 9, 8}));

    EXPECT_TRUE(ReadStoredBytes(stored.data(), stored.size() - 1).empty());  // count beyond the data
    EXPECT_TRUE(ReadStoredBytes(stored.data(), 7).empty());
    EXPECT_TRUE(ReadStoredBytes(nullptr, 0).empty());
    ByteArray twoDimensions = stored;
    twoDimensions[0] = 2;
    EXPECT_TRUE(ReadStoredBytes(twoDimensions.data(), twoDimensions.size()).empty());
    const ByteArray empty = StoreBytes(ByteArray());
    EXPECT_EQ(empty.size(), 8u);
    EXPECT_TRUE(ReadStoredBytes(empty.data(), empty.size()).empty());
}

}  // namespace
