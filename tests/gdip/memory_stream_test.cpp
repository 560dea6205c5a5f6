// The memory stream over a global block.
#include <gtest/gtest.h>

#include "gdip/memory_stream.h"

namespace {

TEST(MemoryStream, FromBytesCopiesIntoAZeroFilledBlockOfTheGivenSize) {
    MemoryStream stream;
    ByteArray bytes = {1, 2, 3, 4, 5};
    ASSERT_NE(stream.FromBytes(bytes), nullptr);
    EXPECT_GE(stream.Size(), 5u);
    EXPECT_EQ(stream.ReadAll(), bytes);

    ASSERT_NE(stream.FromBytes(bytes, 8), nullptr);  // releases the first block
    EXPECT_EQ(stream.ReadAll(), (ByteArray{1, 2, 3, 4, 5, 0, 0, 0}));
    ASSERT_NE(stream.FromBytes(bytes, 2), nullptr);
    EXPECT_EQ(stream.ReadAll(), (ByteArray{1, 2}));

    MemoryStream copy = stream.Clone();
    EXPECT_NE(copy.GetBlock(), stream.GetBlock());
    EXPECT_EQ(copy.ReadAll(), stream.ReadAll());
}

TEST(MemoryStream, ReleaseFreesBothAndIsSafeTwice) {
    long blocks = GlobalBlockHandle::Live();
    long streams = ComStreamHandle::Live();
    {
        MemoryStream stream;
        stream.FromBytes(ByteArray(100, 7));
        EXPECT_EQ(GlobalBlockHandle::Live(), blocks + 1);
        EXPECT_EQ(ComStreamHandle::Live(), streams + 1);
        stream.Release();
        EXPECT_EQ(stream.GetStream(), nullptr);
        EXPECT_EQ(stream.GetBlock(), nullptr);
        EXPECT_EQ(stream.Size(), 0u);
        EXPECT_TRUE(stream.ReadAll().empty());
        stream.Release();
        stream.FromBytes(ByteArray(10, 1));
    }  // destroyed while holding a stream
    EXPECT_EQ(GlobalBlockHandle::Live(), blocks);
    EXPECT_EQ(ComStreamHandle::Live(), streams);
}

TEST(MemoryStream, AttachTakesAStreamMadeElsewhereAndReadsWhatWasWritten) {
    IStream* made = nullptr;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, FALSE, &made), S_OK);
    MemoryStream stream;
    ASSERT_TRUE(stream.Attach(made));
    ULONG written = 0;
    ASSERT_EQ(made->Write("abcdef", 6, &written), S_OK);
    // Only the written bytes, even where the block is larger.
    EXPECT_EQ(stream.ReadAll(), (ByteArray{'a', 'b', 'c', 'd', 'e', 'f'}));
    EXPECT_FALSE(stream.Attach(nullptr));
    EXPECT_EQ(stream.GetStream(), nullptr);
}

}  // namespace
