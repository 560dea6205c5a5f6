// Proves the Windows harness: a real window under Wine, a message sent to it,
// and GBK text read back through an A-function under code page 936.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

TEST(WineHarness, WindowKeepsGbkTextUnderCodePage936) {
    ASSERT_EQ(::GetACP(), 936u) << "Wine must run with the zh_CN locale";

    HWND window = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    const std::string title = "软件更新";  // GBK bytes in this build
    ASSERT_EQ(title, "\xC8\xED\xBC\xFE\xB8\xFC\xD0\xC2");

    ::SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()));
    char buffer[64] = {};
    int length = ::GetWindowTextA(window, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, length), title);

    // The wide text is the real characters, so the bytes were taken as GBK.
    wchar_t wide[16] = {};
    ::GetWindowTextW(window, wide, 16);
    EXPECT_EQ(std::wstring(wide), std::wstring(L"\u8F6F\u4EF6\u66F4\u65B0"));
    ::DestroyWindow(window);
}
