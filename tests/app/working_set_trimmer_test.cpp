// The trimmer runs when the application loses activation to another
// thread's window, and leaves the Windows directory as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>

#include "../skin/skin_test_support.h"
#include "app/working_set_trimmer.h"

namespace {

using skintest::Pump;
using skintest::PumpUntil;

std::set<std::string> WindowsDirectory() {
    char directory[MAX_PATH] = {};
    ::GetWindowsDirectoryA(directory, sizeof directory);
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    FindHandle search(::FindFirstFileA((std::string(directory) + "\\*").c_str(), &found));
    if (!search) return names;
    do {
        names.insert(found.cFileName);
    } while (::FindNextFileA(search.Get(), &found));
    return names;
}

using WorkingSetTrimmerTest = skintest::SkinTest;

TEST_F(WorkingSetTrimmerTest, DeactivationTrimsWithoutTouchingTheWindowsDirectory) {
    engine->SetDeactivationHandler(&StartWorkingSetTrimmer);
    HWND main = Keep(skintest::MakeWindow());
    ASSERT_GT(engine->AttachForm(main, SkinEngine::FormOptions(), ByteArray()), 0);
    ::ShowWindow(main, SW_SHOW);
    ::SetForegroundWindow(main);
    Pump(100);
    const std::set<std::string> before = WindowsDirectory();
    const long trims = WorkingSetTrims();

    // Another thread's window takes the activation: the application is deactivated.
    std::atomic<bool> shown{false}, finish{false};
    std::thread other([&] {
        HWND window = skintest::MakeWindow(200, 100, WS_POPUP | WS_VISIBLE, 650, 450, "other");
        ::SetForegroundWindow(window);
        shown = true;
        while (!finish) Pump(10);
        ::DestroyWindow(window);
    });
    EXPECT_TRUE(PumpUntil([&] { return shown && WorkingSetTrims() > trims; }));
    finish = true;
    other.join();

    EXPECT_EQ(WindowsDirectory(), before);
    EXPECT_EQ(before.count("empty.exe"), 0u);
}

TEST(WorkingSetTrimmer, OverlappingRunsAllFinish) {
    const long trims = WorkingSetTrims();
    for (int i = 0; i < 4; ++i) StartWorkingSetTrimmer();
    EXPECT_TRUE(PumpUntil([&] { return WorkingSetTrims() == trims + 4; }));
}

}  // namespace
