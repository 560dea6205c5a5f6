#include <gtest/gtest.h>

#include "app/utc_time.h"

TEST(UtcTime, ReadsTheOneFormAndWritesItBack) {
    EXPECT_EQ(ParseUtcTime("1970-01-01T00:00:00Z"), 0);
    EXPECT_EQ(ParseUtcTime("2026-12-08T12:00:00Z"), 1796731200);
    EXPECT_EQ(ParseUtcTime("2000-02-29T23:59:59Z"), 951868799);  // a leap day of a century
    EXPECT_EQ(ParseUtcTime("2038-01-19T03:14:08Z"), 2147483648);  // past 32 bits
    for (const Text& text : {Text("1970-01-01T00:00:00Z"), Text("2024-02-29T06:07:08Z"),
                             Text("2026-12-31T23:59:59Z"), Text("9999-12-31T23:59:59Z")}) {
        const std::optional<std::int64_t> seconds = ParseUtcTime(text);
        ASSERT_TRUE(seconds) << text;
        EXPECT_EQ(FormatUtcTime(*seconds), text);
    }
    EXPECT_EQ(FormatUtcTime(-1), "?");
    EXPECT_EQ(FormatUtcTime(*ParseUtcTime("9999-12-31T23:59:59Z") + 1), "?");
}

TEST(UtcTime, AnythingElseIsNoTime) {
    for (const Text& text :
         {Text(), Text("2026-12-08T12:00:00"), Text("2026-12-08T12:00:00z"), Text("2026-12-08 12:00:00Z"),
          Text("2026-12-08T12:00:00.5Z"), Text(" 2026-12-08T12:00:00Z"), Text("2026-12-08T12:00:00Z "),
          Text("2026-13-08T12:00:00Z"), Text("2026-00-08T12:00:00Z"), Text("2026-02-29T12:00:00Z"),
          Text("1900-02-29T12:00:00Z"), Text("2026-04-31T12:00:00Z"), Text("2026-12-00T12:00:00Z"),
          Text("2026-12-08T24:00:00Z"), Text("2026-12-08T12:60:00Z"), Text("2026-12-08T12:00:60Z"),
          Text("1969-12-31T23:59:59Z"), Text("2026-1a-08T12:00:00Z"), Text("+026-12-08T12:00:00Z"),
          Text("2026-12-08T12:00:00+00:00")}) {
        EXPECT_FALSE(ParseUtcTime(text)) << text;
    }
}
