// Skinned message boxes: each box is shown on a worker thread (as the
// update thread shows them) while the test thread looks at it from outside,
// moves the mouse and answers it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <initializer_list>
#include <thread>
#include <vector>

#include "app/message_box.h"
#include "runtime/gdiplus_session.h"
#include "skin/window/dialog_skin.h"
#include "skin_test_support.h"

namespace {

using skintest::MouseStep;
using skintest::Pump;
using skintest::PumpUntil;

struct BoxSearch {
    bool skinnedOnly = false;
    HWND found = nullptr;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<BoxSearch*>(lParam);
    if (ClassNameOf(window) != "#32770" || !::IsWindowVisible(window)) return TRUE;
    if (search->skinnedOnly && !GetProperty(window, prop::kPreviousProc)) return TRUE;
    search->found = window;
    return FALSE;
}

// A visible box of the thread (with skinnedOnly: one already skinned).
HWND BoxOf(DWORD threadId, bool skinnedOnly = false) {
    BoxSearch search{skinnedOnly, nullptr};
    if (threadId) ::EnumThreadWindows(threadId, MatchBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One box shown by its own thread; the destructor closes a box still open.
class BoxThread {
public:
    BoxThread(HWND owner, const char* caption, int style) : caption_(caption) {
        Start([this, owner, style] { return SkinnedMessageBox(owner, "box text", style, caption_); });
    }
    // Any modal dialog the function shows; its answer is the result.
    explicit BoxThread(std::function<int()> show) { Start(std::move(show)); }
    ~BoxThread() {
        while (!done_) {
            if (HWND box = Find()) ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
            Pump(20);
        }
        thread_.join();
    }
    // The box, once visible.
    HWND Find() const { return BoxOf(threadId_); }
    HWND Wait() {
        HWND box = nullptr;
        PumpUntil([&] { return (box = Find()) != nullptr; });
        return box;
    }
    bool WaitDone() { return PumpUntil([&] { return done_.load(); }); }
    int Result() const { return result_; }
    bool Done() const { return done_; }

private:
    void Start(std::function<int()> show) {
        thread_ = std::thread([this, show = std::move(show)] {
            threadId_ = ::GetCurrentThreadId();
            result_ = show();
            done_ = true;
        });
    }
    Text caption_;
    std::atomic<DWORD> threadId_{0};
    std::atomic<bool> done_{false};
    std::atomic<int> result_{-100};
    std::thread thread_;
};

int Alpha(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags)) return -1;
    return alpha;
}

bool WaitForAlpha(HWND box, int alpha) {
    return PumpUntil([&] { return Alpha(box) == alpha; });
}

// The region as cut for the window's size: corners out, edges in.
void ExpectRoundedRegion(HWND box) {
    RECT r{};
    ::GetWindowRect(box, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    RegionHandle region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(::GetWindowRgn(box, region.Get()), COMPLEXREGION);
    EXPECT_FALSE(::PtInRegion(region.Get(), 0, 0));
    EXPECT_FALSE(::PtInRegion(region.Get(), w - 1, 0));
    EXPECT_FALSE(::PtInRegion(region.Get(), w - 1, h - 1));
    EXPECT_TRUE(::PtInRegion(region.Get(), w - 1, h / 2));
    EXPECT_TRUE(::PtInRegion(region.Get(), w / 2, h - 1));
    RECT box_{};
    ::GetRgnBox(region.Get(), &box_);
    EXPECT_EQ(box_.right, w);
    EXPECT_EQ(box_.bottom, h);
}

POINT CloseZone(HWND box) {
    RECT r{};
    ::GetWindowRect(box, &r);
    return POINT{r.right - 18, r.top + 12};
}

POINT CaptionPoint(HWND box) {
    RECT r{};
    ::GetWindowRect(box, &r);
    return POINT{r.left + 60, r.top + 12};
}

int FormsOf(SkinEngine& engine, HWND window) {
    return engine.WithForms([&](FormSkinList& forms) {
        int count = 0;
        for (const auto& entry : forms) count += entry->window == window;
        return count;
    });
}

using DialogSkinTest = skintest::SkinTest;

// Keys as a person types them: each pressed and released, through the
// system's input queue to the foreground window's focus.
void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        INPUT up = down;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(down);
        inputs.push_back(up);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Shows a modal dialog on its own thread, types the keys into it once it is
// in front and returns its answer (-100 when it never closed).
int AnswerWithKeys(std::function<int()> show, std::initializer_list<WORD> keys) {
    BoxThread dialog(std::move(show));
    HWND box = dialog.Wait();
    if (!box || !PumpUntil([&] { return ::GetForegroundWindow() == box; })) return -100;
    PressKeys(keys);
    if (!dialog.WaitDone()) return -100;
    return dialog.Result();
}

constexpr int kFirstButton = 100;
constexpr int kSecondButton = 101;

// An in-memory dialog template: a caption and two push buttons, the first
// the default.
std::vector<WORD> TwoButtonTemplate() {
    std::vector<WORD> words;
    auto dword = [&](DWORD value) {
        words.push_back(LOWORD(value));
        words.push_back(HIWORD(value));
    };
    auto text = [&](const wchar_t* value) {
        for (; *value; ++value) words.push_back(static_cast<WORD>(*value));
        words.push_back(0);
    };
    auto item = [&](DWORD style, short x, int id, const wchar_t* caption) {
        if (words.size() % 2) words.push_back(0);  // items start on a DWORD boundary
        dword(style | WS_CHILD | WS_VISIBLE | WS_TABSTOP);
        dword(0);
        for (short v : {x, short(40), short(50), short(14)}) words.push_back(static_cast<WORD>(v));
        words.push_back(static_cast<WORD>(id));
        words.push_back(0xFFFF);
        words.push_back(0x0080);  // the button class
        text(caption);
        words.push_back(0);  // no creation data
    };
    dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME | DS_CENTER);
    dword(0);
    words.push_back(2);
    for (short v : {short(0), short(0), short(160), short(70)}) words.push_back(static_cast<WORD>(v));
    words.push_back(0);  // no menu
    words.push_back(0);  // the dialog class
    text(L"两个按钮");
    item(BS_DEFPUSHBUTTON, 20, kFirstButton, L"甲");
    item(BS_PUSHBUTTON, 90, kSecondButton, L"乙");
    return words;
}

INT_PTR CALLBACK TwoButtonProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// The two-button dialog, skinned like a message box when asked.
std::function<int()> TwoButtonDialog(bool skinned) {
    return [skinned] {
        if (skinned) InstallMessageBoxHook();
        const std::vector<WORD> words = TwoButtonTemplate();
        return static_cast<int>(::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr),
                                                          reinterpret_cast<const DLGTEMPLATE*>(words.data()),
                                                          nullptr, TwoButtonProc, 0));
    };
}

std::function<int()> YesNoBox(bool skinned) {
    return [skinned] {
        if (skinned) return SkinnedMessageBox(nullptr, "更新完成！是否启动新程序！", MB_YESNO, "提示");
        return ::MessageBoxExA(nullptr, "更新完成！是否启动新程序！", "提示", MB_YESNO, 0) - 1;
    };
}

// Enter answers the default, Tab then Enter the second button, Space the
// focused one; Esc does what it does without the skin (Enter after it
// answers a box that ignored it).
TEST_F(DialogSkinTest, KeysAnswerTheSkinnedYesNoBoxAsTheUnskinnedOne) {
    EXPECT_EQ(AnswerWithKeys(YesNoBox(true), {VK_RETURN}), IDYES - 1);
    EXPECT_EQ(AnswerWithKeys(YesNoBox(true), {VK_TAB, VK_RETURN}), IDNO - 1);
    EXPECT_EQ(AnswerWithKeys(YesNoBox(true), {VK_SPACE}), IDYES - 1);
    EXPECT_EQ(AnswerWithKeys(YesNoBox(true), {VK_TAB, VK_SPACE}), IDNO - 1);
    const int unskinnedEscape = AnswerWithKeys(YesNoBox(false), {VK_ESCAPE, VK_RETURN});
    EXPECT_NE(unskinnedEscape, -100);
    EXPECT_EQ(AnswerWithKeys(YesNoBox(true), {VK_ESCAPE, VK_RETURN}), unskinnedEscape);
}

TEST_F(DialogSkinTest, KeysPressTheRightButtonOfASkinnedTwoButtonDialog) {
    {
        // The dialog is skinned and its buttons owner-drawn; the default
        // moves with the focus.
        BoxThread dialog(TwoButtonDialog(true));
        HWND box = dialog.Wait();
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == box; }));
        EXPECT_NE(GetProperty(box, prop::kPreviousProc), 0);
        HWND first = ::GetDlgItem(box, kFirstButton), second = ::GetDlgItem(box, kSecondButton);
        EXPECT_EQ(::GetWindowLongPtrA(second, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
        EXPECT_EQ(::SendMessageA(first, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
        PressKeys({VK_TAB});
        EXPECT_TRUE(PumpUntil([&] { return ::SendMessageA(second, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON; }));
        EXPECT_EQ(::SendMessageA(first, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
        PressKeys({VK_RETURN});
        ASSERT_TRUE(dialog.WaitDone());
        EXPECT_EQ(dialog.Result(), kSecondButton);
    }
    EXPECT_EQ(AnswerWithKeys(TwoButtonDialog(true), {VK_RETURN}), kFirstButton);
    EXPECT_EQ(AnswerWithKeys(TwoButtonDialog(true), {VK_SPACE}), kFirstButton);
    EXPECT_EQ(AnswerWithKeys(TwoButtonDialog(true), {VK_TAB, VK_SPACE}), kSecondButton);
    // Back to the first after Tab, Tab: Enter presses it again.
    EXPECT_EQ(AnswerWithKeys(TwoButtonDialog(true), {VK_TAB, VK_TAB, VK_RETURN}), kFirstButton);
    const int unskinnedEscape = AnswerWithKeys(TwoButtonDialog(false), {VK_ESCAPE, VK_RETURN});
    EXPECT_NE(unskinnedEscape, -100);
    EXPECT_EQ(AnswerWithKeys(TwoButtonDialog(true), {VK_ESCAPE, VK_RETURN}), unskinnedEscape);
}

TEST_F(DialogSkinTest, BoxIsSkinnedOnceFadesInAndAnswers) {
    HWND other = Keep(skintest::MakeWindow(200, 100, WS_POPUP | WS_VISIBLE, 600, 500, "other"));
    {
        BoxThread yes(nullptr, "问题", MB_YESNO | MB_ICONQUESTION);
        HWND box = yes.Wait();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(GetProperty(box, prop::kPreviousProc) != 0, true);
        EXPECT_EQ(::GetWindowLongPtrA(box, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&DialogProc));
        EXPECT_TRUE(::GetWindowLongPtrA(box, GWL_EXSTYLE) & WS_EX_LAYERED);
        EXPECT_TRUE(::GetWindowLongPtrA(box, GWL_STYLE) & WS_SYSMENU);
        ExpectRoundedRegion(box);
        EXPECT_TRUE(WaitForAlpha(box, kDialogFinalAlpha));
        EXPECT_EQ(engine->MessageBoxHookCount(), 0u);  // removed on activation

        const int index = engine->FormIndexOf(box);
        ASSERT_GT(index, 0);
        EXPECT_EQ(GetProperty(box, prop::kIndex), index);
        FormSkin* entry = engine->Form(index);
        ASSERT_EQ(entry->captionButtons.size(), 1u);
        EXPECT_EQ(entry->captionButtons[0].command, kCommandClose);
        EXPECT_EQ(entry->captionButtons[0].width, 38);
        EXPECT_EQ(entry->captionHeight, 25);
        EXPECT_EQ(entry->resizable, 0);

        // Away and back: activated again, still one entry and the same procedure.
        ::SetForegroundWindow(other);
        Pump(100);
        ::SetForegroundWindow(box);
        Pump(100);
        EXPECT_EQ(FormsOf(*engine, box), 1);
        EXPECT_EQ(::GetWindowLongPtrA(box, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&DialogProc));
        EXPECT_EQ(Alpha(box), kDialogFinalAlpha);  // coming back does not hide it
        // Nor does the focus coming back to the box itself after the fade.
        ::SendMessageA(box, WM_SETFOCUS, 0, 0);
        EXPECT_EQ(Alpha(box), kDialogFinalAlpha);

        ::PostMessageA(box, WM_COMMAND, IDYES, 0);
        ASSERT_TRUE(yes.WaitDone());
        EXPECT_EQ(yes.Result(), 5);
        EXPECT_EQ(FormsOf(*engine, box), 0);
        EXPECT_EQ(engine->Settings().fadeInStarted, 0);
    }
    BoxThread no(nullptr, "问题", MB_YESNO);
    HWND box = no.Wait();
    ASSERT_NE(box, nullptr);
    ::PostMessageA(box, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(no.WaitDone());
    EXPECT_EQ(no.Result(), 6);
}

TEST_F(DialogSkinTest, CloseGlyphClosesOnReleaseOnlyAndItsHoverRepaintsOnce) {
    BoxThread okCancel(nullptr, "关闭测试", MB_OKCANCEL);
    HWND box = okCancel.Wait();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(WaitForAlpha(box, kDialogFinalAlpha));
    EXPECT_EQ(::SendMessageA(box, WM_NCHITTEST, 0, MAKELPARAM(CloseZone(box).x, CloseZone(box).y)), HTCLOSE);
    EXPECT_EQ(::SendMessageA(box, WM_NCHITTEST, 0, MAKELPARAM(CaptionPoint(box).x, CaptionPoint(box).y)), HTCAPTION);

    // Into the close zone: the hot face once, however often the mouse moves there.
    const long before = DialogCloseRepaints();
    POINT close = CloseZone(box), closeToo{close.x - 4, close.y + 2};
    skintest::RunMouse({{MouseStep::Move, close, 60}, {MouseStep::Move, closeToo, 60}, {MouseStep::Move, close, 60}});
    EXPECT_TRUE(PumpUntil([&] { return DialogCloseRepaints() == before + 1; }));
    // Out to the caption: the normal face once.
    POINT caption = CaptionPoint(box), captionToo{caption.x + 10, caption.y};
    skintest::RunMouse({{MouseStep::Move, caption, 60}, {MouseStep::Move, captionToo, 60}});
    EXPECT_TRUE(PumpUntil([&] { return DialogCloseRepaints() == before + 2; }));
    // In again and down into the client area: normal once more.
    RECT r{};
    ::GetWindowRect(box, &r);
    POINT client{r.left + 15, r.bottom - 15};
    skintest::RunMouse({{MouseStep::Move, close, 60}, {MouseStep::Move, client, 60}, {MouseStep::Move, client, 60}});
    EXPECT_TRUE(PumpUntil([&] { return DialogCloseRepaints() == before + 4; }));
    Pump(200);
    EXPECT_EQ(DialogCloseRepaints(), before + 4);

    // Pressed on the glyph, released off it: nothing.
    skintest::RunMouse({{MouseStep::Move, close, 60},
                        {MouseStep::Down, close, 60},
                        {MouseStep::Move, caption, 60},
                        {MouseStep::Up, caption, 200}});
    Pump(200);
    EXPECT_FALSE(okCancel.Done());
    EXPECT_TRUE(::IsWindow(box));
    // Pressed and released on it: closed like the system close (Cancel).
    skintest::RunMouse({{MouseStep::Move, close, 60}, {MouseStep::Down, close, 60}, {MouseStep::Up, close, 60}});
    ASSERT_TRUE(okCancel.WaitDone());
    EXPECT_EQ(okCancel.Result(), 1);
}

TEST_F(DialogSkinTest, ResizedDialogGetsNewRegionAndCloseZone) {
    BoxThread box_(nullptr, "尺寸", MB_OK);
    HWND box = box_.Wait();
    ASSERT_NE(box, nullptr);
    RECT r{};
    ::GetWindowRect(box, &r);
    const POINT oldClose = CloseZone(box);
    ::SetWindowPos(box, nullptr, 0, 0, r.right - r.left + 120, r.bottom - r.top + 40, SWP_NOMOVE | SWP_NOZORDER);
    ExpectRoundedRegion(box);
    const POINT newClose = CloseZone(box);
    EXPECT_EQ(newClose.x, oldClose.x + 120);
    EXPECT_EQ(::SendMessageA(box, WM_NCHITTEST, 0, MAKELPARAM(newClose.x, newClose.y)), HTCLOSE);
    EXPECT_EQ(::SendMessageA(box, WM_NCHITTEST, 0, MAKELPARAM(oldClose.x, oldClose.y)), HTCAPTION);
    FormSkin* entry = engine->Form(engine->FormIndexOf(box));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->captionButtons[0].rect.x, r.right - r.left + 120 - 36);
}

TEST_F(DialogSkinTest, SecondDialogWhileTheFirstIsOpenDoesNotFade) {
    BoxThread first(nullptr, "第一", MB_OK);
    HWND one = first.Wait();
    ASSERT_NE(one, nullptr);
    ASSERT_TRUE(WaitForAlpha(one, kDialogFinalAlpha));
    BoxThread second(nullptr, "第二", MB_OK);
    HWND two = second.Wait();
    ASSERT_NE(two, nullptr);
    EXPECT_NE(GetProperty(two, prop::kPreviousProc), 0);
    FormSkin* entry = engine->Form(engine->FormIndexOf(two));
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return entry->dialogPainted != 0; }));
    // The fade thread belongs to the first box: the second is shown at once
    // instead of staying transparent, and never fades afterwards.
    EXPECT_EQ(Alpha(two), kDialogFinalAlpha);
    Pump(500);  // longer than a whole fade
    EXPECT_EQ(Alpha(two), kDialogFinalAlpha);
}

// The update thread's boxes beside the window thread's painting: every box
// adds, uses and removes its entry while the main window repaints.
TEST_F(DialogSkinTest, TwoHundredBoxesOnAWorkerWhileTheMainWindowRepaints) {
    HWND main = Keep(skintest::MakeWindow());
    ASSERT_GT(skintest::SkinLikeTheUpdater(*engine, main,
                                           skintest::TwoColourPng(492, 293, 200, RGB(40, 90, 160), RGB(200, 80, 40))),
              0);
    ::ShowWindow(main, SW_SHOW);
    ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(100);
    auto live = [] {
        return std::vector<long>{MemoryDc::Live(), BitmapHandle::Live(), BrushHandle::Live(),
                                 PenHandle::Live(), RegionHandle::Live(), FontHandle::Live()};
    };
    const std::vector<long> before = live();

    constexpr int kBoxes = 200;
    std::atomic<DWORD> worker{0};
    std::atomic<int> answered{0}, yes{0};
    std::thread boxes([&] {
        worker = ::GetCurrentThreadId();
        for (int i = 0; i < kBoxes; ++i) {
            yes += SkinnedMessageBox(main, "更新完成", MB_YESNO | MB_ICONQUESTION, "提示") == 5;
            ++answered;
        }
    });
    int repaints = 0;
    while (answered < kBoxes) {
        ::InvalidateRect(main, nullptr, FALSE);
        ::UpdateWindow(main);
        ++repaints;
        if (HWND box = BoxOf(worker, true)) ::PostMessageA(box, WM_COMMAND, IDYES, 0);
        Pump(5);
    }
    boxes.join();
    Pump(300);  // the last fade threads end
    EXPECT_EQ(yes, kBoxes);
    EXPECT_GT(repaints, kBoxes);
    EXPECT_EQ(engine->WithForms([](FormSkinList& forms) { return forms.size(); }), 1u);
    EXPECT_EQ(engine->Settings().fadeInStarted, 0);
    EXPECT_EQ(live(), before);
}

struct CaptionSearch {
    Text caption;
    HWND found = nullptr;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<CaptionSearch*>(lParam);
    if (ClassNameOf(window) != "#32770" || !::IsWindowVisible(window)) return TRUE;
    char text[64] = {};
    ::GetWindowTextA(window, text, sizeof text);
    if (search->caption != text) return TRUE;
    search->found = window;
    return FALSE;
}

// A visible box of the thread with the caption.
HWND CaptionedBoxOf(DWORD threadId, const Text& caption) {
    CaptionSearch search{caption, nullptr};
    if (threadId) ::EnumThreadWindows(threadId, MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Two threads hook before either box is shown: each box is skinned through
// its own thread's hook, each hook goes when its box is activated, and a
// later box on either thread is left alone.
TEST_F(DialogSkinTest, TwoBoxesAtOnceOnTwoThreadsAreBothSkinnedAndLeaveNoHook) {
    std::atomic<int> hooked{0};
    std::atomic<DWORD> threads[2] = {{0}, {0}};
    auto boxes = [&](int which, const char* caption) {
        return [&, which, caption] {
            threads[which] = ::GetCurrentThreadId();
            InstallMessageBoxHook();
            ++hooked;
            while (hooked.load() < 2) ::Sleep(1);
            const int answer = ::MessageBoxExA(nullptr, "box text", caption, MB_OK, 0);
            ::MessageBoxExA(nullptr, "box text", "plain", MB_OK, 0);
            return answer;
        };
    };
    BoxThread one(boxes(0, "甲")), two(boxes(1, "乙"));
    HWND first = nullptr, second = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        first = CaptionedBoxOf(threads[0], "甲");
        second = CaptionedBoxOf(threads[1], "乙");
        return first && second;
    }));
    EXPECT_TRUE(PumpUntil([&] { return GetProperty(first, prop::kPreviousProc) != 0; }));
    EXPECT_TRUE(PumpUntil([&] { return GetProperty(second, prop::kPreviousProc) != 0; }));
    EXPECT_TRUE(PumpUntil([&] { return engine->MessageBoxHookCount() == 0; }));
    ::PostMessageA(first, WM_COMMAND, IDOK, 0);
    ::PostMessageA(second, WM_COMMAND, IDOK, 0);

    HWND plain[2] = {nullptr, nullptr};
    ASSERT_TRUE(PumpUntil([&] {
        plain[0] = CaptionedBoxOf(threads[0], "plain");
        plain[1] = CaptionedBoxOf(threads[1], "plain");
        return plain[0] && plain[1];
    }));
    Pump(200);
    for (HWND box : plain) {
        EXPECT_EQ(GetProperty(box, prop::kPreviousProc), 0);
        EXPECT_EQ(FormsOf(*engine, box), 0);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    ASSERT_TRUE(one.WaitDone());
    ASSERT_TRUE(two.WaitDone());
    EXPECT_EQ(one.Result(), IDOK);
    EXPECT_EQ(two.Result(), IDOK);
}

// Pixels of a painted box: the veil over the skin background, the caption
// band above it, the title's white ink in its 30-pixel box, and the close
// button's hot face and its return.
TEST_F(DialogSkinTest, PaintedBoxShowsItsVeilBandTitleAndCloseFaces) {
    constexpr COLORREF kBase = RGB(40, 90, 160);
    engine->SetBackground(Text(), skintest::TwoColourPng(800, 600, 800, kBase, kBase), kBase, 0x51AE51, 0);
    skintest::MoveMouseTo(POINT{2, 2});
    BoxThread shown(nullptr, "标题", MB_OK);
    HWND box = shown.Wait();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(WaitForAlpha(box, kDialogFinalAlpha));
    FormSkin* entry = engine->Form(engine->FormIndexOf(box));
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return entry->dialogPainted != 0; }));
    RECT r{};
    ::GetWindowRect(box, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    auto pixel = [&](int x, int y) { return skintest::BackgroundPixel(*engine, box, x, y); };

    // The base colour under white at alpha 100.
    auto veiled = [](int c) { return c + (255 - c) * 100 / 255; };
    const COLORREF body = pixel(w / 2, 40);
    EXPECT_LE(skintest::ColourDistance(body, RGB(veiled(40), veiled(90), veiled(160))), 2);
    EXPECT_EQ(pixel(w / 2, h - 10), body);
    // The band: lighter at its top, darker at its foot, over at row 26.
    EXPECT_GT(skintest::Luminance(pixel(w / 2, 3)), skintest::Luminance(body) + 20);
    EXPECT_LT(skintest::Luminance(pixel(w / 2, 25)), skintest::Luminance(body));
    EXPECT_EQ(pixel(w / 2, 26), body);

    // The title: white ink right of the icon, centred in rows 0 to 29.
    int inkTop = 100, inkBottom = -1, ink = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 25; x < 80; ++x) {
            const COLORREF c = pixel(x, y);
            if (GetRValue(c) < 245 || GetGValue(c) < 245 || GetBValue(c) < 245) continue;
            ++ink;
            inkTop = std::min(inkTop, y);
            inkBottom = std::max(inkBottom, y);
        }
    }
    EXPECT_GT(ink, 10);
    // Centred in a 26-pixel box the ink would sit two rows higher.
    EXPECT_GE(inkTop + inkBottom, 2 * 14);
    EXPECT_LE(inkTop + inkBottom, 2 * 16);

    // The close button: a red face while the mouse is over it, the normal one after.
    const int probeX = w - kDialogCloseWidth + 9, probeY = 11;
    const COLORREF normal = pixel(probeX, probeY);
    ::SendMessageA(box, WM_NCMOUSEMOVE, HTCLOSE, MAKELPARAM(r.right - 18, r.top + 12));
    const COLORREF hot = pixel(probeX, probeY);
    EXPECT_GT(GetRValue(hot), GetGValue(hot) + 40);
    EXPECT_GT(GetRValue(hot), GetBValue(hot) + 40);
    ::SendMessageA(box, WM_NCMOUSELEAVE, 0, 0);
    EXPECT_EQ(pixel(probeX, probeY), normal);
    EXPECT_EQ(entry->dialogCloseHot, 0);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(shown.WaitDone());
}

// At exit with a worker still showing a box, the engine and GDI+ are kept:
// the box goes on painting its skin and answers.
TEST_F(DialogSkinTest, EngineAndGdiplusOutliveTheExitWhileAWorkerShowsABox) {
    BoxThread worker(nullptr, "退出", MB_OK);
    HWND box = worker.Wait();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(WaitForAlpha(box, kDialogFinalAlpha));
    SkinEngine* kept = engine.get();
    ReleaseSkinEngineAtExit(std::move(engine), true);
    EXPECT_EQ(SkinEngine::Instance(), kept);
    EXPECT_NE(DefaultGdiplusToken(), 0u);
    StopGdiplus();  // as a late WM_QUIT would
    EXPECT_NE(DefaultGdiplusToken(), 0u);

    FormSkin* entry = kept->Form(kept->FormIndexOf(box));
    ASSERT_NE(entry, nullptr);
    ::SetWindowTextA(box, "退出中");
    ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    Pump(200);
    EXPECT_NE(entry->backgroundDc.Get(), nullptr);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(worker.WaitDone());
    EXPECT_EQ(worker.Result(), 0);
    engine.reset(kept);  // the test program goes on: the fixture ends it
}

}  // namespace
