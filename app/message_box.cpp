#include "app/message_box.h"

#include "runtime/allocation_failure.h"
#include "skin/window/dialog_skin.h"
#include "skin/model/form_skin_data.h"
#include "skin/skin_engine.h"

namespace {

constexpr char kDialogClass[] = "#32770";

}  // namespace

int SkinnedMessageBox(HWND owner, const Text& text, int style, const Text& caption) {
    InstallMessageBoxHook();
    const int result = ::MessageBoxExA(owner, text.c_str(), caption.c_str(), static_cast<UINT>(style), 0);
    // A box that never became active (it failed to show) left its hook behind.
    if (SkinEngine* engine = SkinEngine::Instance()) {
        if (HHOOK left = engine->TakeMessageBoxHook()) ::UnhookWindowsHookEx(left);
    }
    return result - 1;
}

void InstallMessageBoxHook() {
    SkinEngine* engine = SkinEngine::Instance();
    if (!engine) return;
    HHOOK hook = ::SetWindowsHookExA(WH_CBT, DialogHookProc, nullptr, ::GetCurrentThreadId());
    if (!hook) return;
    // This thread's previous hook, should one be left, goes; other threads keep theirs.
    if (HHOOK previous = engine->ExchangeMessageBoxHook(hook)) ::UnhookWindowsHookEx(previous);
}

LRESULT CALLBACK DialogHookProc(int code, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&] {
        SkinEngine* engine = SkinEngine::Instance();
        if (code == HCBT_ACTIVATE && engine) {
            HWND window = reinterpret_cast<HWND>(wParam);
            if (ClassNameOf(window) == kDialogClass && GetProperty(window, prop::kPreviousProc) == 0) {
                AttachDialogSkin(*engine, window);
            }
        }
        return ::CallNextHookEx(engine ? engine->MessageBoxHook() : nullptr, code, wParam, lParam);
    });
}
