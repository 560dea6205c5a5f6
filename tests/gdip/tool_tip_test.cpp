// The tooltip wrapper against a real tooltip control.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "gdip/tool_tip.h"

namespace {

class ToolTipTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner_ = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override {
        if (::IsWindow(owner_)) ::DestroyWindow(owner_);
    }
    TTTOOLINFOA Query(UINT_PTR id, char* text = nullptr) {
        TTTOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.hwnd = owner_;
        tool.uId = id;
        tool.lpszText = text;
        info_ = ::SendMessageA(tip_.GetWindow(), TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
        return tool;
    }
    int ToolCount() { return static_cast<int>(::SendMessageA(tip_.GetWindow(), TTM_GETTOOLCOUNT, 0, 0)); }

    HWND owner_ = nullptr;
    ToolTip tip_;
    bool info_ = false;
};

TEST_F(ToolTipTest, CreateMakesAToolTipWindowOwnedByTheOwner) {
    HWND window = tip_.Create(owner_, true);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(tip_.GetWindow(), window);
    char cls[64] = {};
    ::GetClassNameA(window, cls, sizeof cls);
    EXPECT_EQ(lstrcmpiA(cls, "tooltips_class32"), 0);
    LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
    EXPECT_TRUE(style & TTS_ALWAYSTIP);
    EXPECT_TRUE(style & TTS_BALLOON);
    EXPECT_EQ(::GetWindow(window, GW_OWNER), owner_);
    // It goes away with its owner.
    ::DestroyWindow(owner_);
    EXPECT_FALSE(::IsWindow(window));
}

TEST_F(ToolTipTest, ToolsAreAddedUpdatedAndDeleted) {
    ASSERT_NE(tip_.Create(owner_), nullptr);
    EXPECT_FALSE(::GetWindowLongPtrA(tip_.GetWindow(), GWL_STYLE) & TTS_BALLOON);
    ASSERT_TRUE(tip_.AddTool(RECT{0, 0, 26, 18}, "关闭", 1));
    ASSERT_TRUE(tip_.AddCallbackTool(RECT{30, 0, 56, 18}, 2));
    EXPECT_EQ(ToolCount(), 2);

    char text[80] = {};
    TTTOOLINFOA first = Query(1, text);
    ASSERT_TRUE(info_);
    EXPECT_STREQ(text, "关闭");
    EXPECT_EQ(first.rect.right, 26);
    EXPECT_TRUE(first.uFlags & TTF_SUBCLASS);

    char callbackText[80] = {};
    TTTOOLINFOA callback = Query(2, callbackText);
    ASSERT_TRUE(info_);
    EXPECT_EQ(callback.lpszText, LPSTR_TEXTCALLBACKA);

    tip_.UpdateText(1, "最小化");
    Query(1, text);
    EXPECT_STREQ(text, "最小化");
    tip_.SetToolRect(1, RECT{100, 2, 126, 20});
    TTTOOLINFOA moved = Query(1, text);
    EXPECT_EQ(moved.rect.left, 100);
    EXPECT_EQ(moved.rect.bottom, 20);

    tip_.SetMaxWidth(180);
    EXPECT_EQ(::SendMessageA(tip_.GetWindow(), TTM_GETMAXTIPWIDTH, 0, 0), 180);
    tip_.SetBackColor(RGB(1, 2, 3));
    EXPECT_EQ(static_cast<COLORREF>(::SendMessageA(tip_.GetWindow(), TTM_GETTIPBKCOLOR, 0, 0)), RGB(1, 2, 3));
    tip_.SetTextColor(RGB(4, 5, 6));
    EXPECT_EQ(static_cast<COLORREF>(::SendMessageA(tip_.GetWindow(), TTM_GETTIPTEXTCOLOR, 0, 0)), RGB(4, 5, 6));

    tip_.DeleteTool(1);
    EXPECT_EQ(ToolCount(), 1);
    Query(1);
    EXPECT_FALSE(info_);
}

}  // namespace
