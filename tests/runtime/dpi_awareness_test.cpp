// The process asks for per-monitor display-scale awareness when its manifest
// did not give it one (a test program has no manifest), and what it reports
// is what the system then says.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/dpi_awareness.h"

TEST(DpiAwareness, ReportsWhatTheSystemGrantedAndEveryRefusal) {
    const DpiAwarenessReport report = MakeProcessDpiAware();
    EXPECT_EQ(report.awareness, CurrentDpiAwareness());
    EXPECT_NE(report.awareness, "unaware");
    if (report.source == "manifest") {
        EXPECT_TRUE(report.refused.empty());
    } else {
        // Granted by a call, or every call tried was refused and said why.
        EXPECT_TRUE(!report.source.empty() || !report.refused.empty());
        for (const Text& refused : report.refused) EXPECT_NE(refused.find(": error "), Text::npos) << refused;
    }
    // Asked again, nothing changes and nothing more is refused.
    const DpiAwarenessReport again = MakeProcessDpiAware();
    EXPECT_EQ(again.awareness, report.awareness);
}
