// Starts the real updater.exe and checks its main window from outside.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/window_probe.h"

namespace {

struct Expected {
    const char* className;
    int left, top, width, height;
    const char* caption;
};

// The controls that lie inside the 492 x 293 window.
const Expected kVisible[] = {
    {"msctls_progress32", 38, 50, 418, 32, ""},
    {"Static", 43, 89, 64, 15, "正在下载:"},
    {"Static", 121, 90, 335, 12, ""},
    {"Static", 43, 106, 64, 15, "已下载:"},
    {"Static", 121, 106, 335, 12, ""},
    {"Static", 43, 123, 64, 15, "下载速度:"},
    {"Static", 121, 122, 335, 12, ""},
    {"Static", 43, 139, 64, 15, "下载地址:"},
    {"Static", 120, 138, 336, 12, ""},
    {"Edit", 37, 158, 419, 79, ""},
};

struct ChildInfo {
    std::string className;
    RECT rect;
    std::string caption;
};

BOOL CALLBACK Collect(HWND child, LPARAM lParam) {
    auto* children = reinterpret_cast<std::vector<ChildInfo>*>(lParam);
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    children->push_back({probe::ClassOf(child), rect, probe::WindowText(child)});
    return TRUE;
}

TEST(MainWindow, HasItsTitleSizeAndControls) {
    // The manifest host is a closed port: whatever the update client does
    // with that, the window and its controls are built first.
    ::SetEnvironmentVariableA("UPDATER_HOST", "127.0.0.1:9");
    probe::Child updater;
    ASSERT_TRUE(probe::Start(updater, "\"" + probe::BinDirectory() + "\\updater.exe\""));
    HWND window = probe::WaitForWindow(updater.id, "UpdaterForm", "软件更新", 15000);
    ASSERT_NE(window, nullptr);

    RECT client;
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, 492);
    EXPECT_EQ(client.bottom, 293);
    RECT outer;
    ::GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 492);  // no system frame

    // The window exists before its controls: wait until the loader is through.
    std::vector<ChildInfo> children;
    for (int attempt = 0; attempt < 100; ++attempt) {
        children.clear();
        ::EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&children));
        if (children.size() >= 19u) break;
        ::Sleep(50);
    }
    EXPECT_EQ(children.size(), 19u);  // every control but the timer
    int inside = 0;
    for (const ChildInfo& child : children) {
        RECT visible;
        if (::IntersectRect(&visible, &child.rect, &client)) ++inside;
    }
    EXPECT_EQ(inside, 10);
    for (const Expected& e : kVisible) {
        bool found = false;
        for (const ChildInfo& child : children) {
            if (child.rect.left == e.left && child.rect.top == e.top &&
                child.rect.right - child.rect.left == e.width &&
                child.rect.bottom - child.rect.top == e.height) {
                found = true;
                EXPECT_EQ(child.className, e.className) << e.left << "," << e.top;
                if (child.className == "Static") {
                    EXPECT_EQ(child.caption, e.caption);
                }
            }
        }
        EXPECT_TRUE(found) << e.className << " at " << e.left << "," << e.top;
    }

    // Answer whatever box the update client shows, then close the window.
    if (HWND box = probe::WaitForMessageBox(updater.id, "", 500)) probe::PressButton(box, IDOK);
    if (::IsWindow(window)) ::PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(updater.Wait(15000), 0u);
}

}  // namespace
