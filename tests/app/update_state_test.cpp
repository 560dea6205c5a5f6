#include <gtest/gtest.h>

#include "app/update_state.h"
#include "app/utc_time.h"

TEST(UpdateState, RoundTripsAndSkipsWhatItCannotRead) {
    UpdateState state;
    state.floor = "2.10";
    state.newestPublished = ParseUtcTime("2026-12-08T12:00:00Z");
    const Text text = FormatUpdateState(state);
    EXPECT_EQ(text, "floor=2.10\r\npublished=2026-12-08T12:00:00Z\r\n");
    const UpdateState read = ParseUpdateState(text);
    EXPECT_EQ(read.floor, "2.10");
    EXPECT_EQ(read.newestPublished, state.newestPublished);

    // A first run, or a damaged file: nothing, or only what is readable.
    EXPECT_EQ(ParseUpdateState("").floor, "");
    EXPECT_FALSE(ParseUpdateState("").newestPublished);
    const UpdateState damaged = ParseUpdateState("floor=2.0b\npublished=2026-12-08T12:00:00Z\nother=1\n\x01\xff");
    EXPECT_EQ(damaged.floor, "");
    EXPECT_EQ(damaged.newestPublished, state.newestPublished);
    const UpdateState cut = ParseUpdateState("floor=3.1\r\npublished=2026-12-0");
    EXPECT_EQ(cut.floor, "3.1");
    EXPECT_FALSE(cut.newestPublished);
}

TEST(UpdateState, FloorAndPublishTimeOnlyGoUp) {
    const std::optional<std::int64_t> earlier = 1000, later = 2000;
    const UpdateState first = AdvanceUpdateState(UpdateState(), "2.0", earlier);
    EXPECT_EQ(first.floor, "2.0");
    EXPECT_EQ(first.newestPublished, earlier);
    const UpdateState higher = AdvanceUpdateState(first, "2.10", later);
    EXPECT_EQ(higher.floor, "2.10");
    EXPECT_EQ(higher.newestPublished, later);
    const UpdateState lower = AdvanceUpdateState(higher, "2.9", earlier);
    EXPECT_EQ(lower.floor, "2.10");
    EXPECT_EQ(lower.newestPublished, later);
    // Without a publish time, or a version that is not numeric, that part stays.
    const UpdateState without = AdvanceUpdateState(higher, "beta", std::nullopt);
    EXPECT_EQ(without.floor, "2.10");
    EXPECT_EQ(without.newestPublished, later);
}
