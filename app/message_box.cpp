#include "app/message_box.h"

#include "runtime/window_ops.h"

int SkinnedMessageBox(HWND owner, const Text& text, int style, const Text& caption) {
    int result = ::MessageBoxExA(owner, text.c_str(), caption.c_str(), static_cast<UINT>(style), 0);
    return MessageBoxResult(result);
}
