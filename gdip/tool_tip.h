// A tooltip window with one tool per rectangle of its owner window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "runtime/value_types.h"

class ToolTip {
public:
    // The window is owned by the owner window and goes away with it.
    void Destroy() {}
    ToolTip Clone() const { return *this; }

    // Returns the tooltip window, or null.
    HWND Create(HWND owner, bool balloon = false);
    bool AddTool(const RECT& rect, const Text& text, UINT_PTR toolId);
    // The owner is asked for the text (TTN_GETDISPINFO) when the tip shows.
    bool AddCallbackTool(const RECT& rect, UINT_PTR toolId);
    void SetBackColor(COLORREF colour);
    void SetTextColor(COLORREF colour);
    void SetMaxWidth(int width);
    void DeleteTool(UINT_PTR toolId);
    void SetToolRect(UINT_PTR toolId, const RECT& rect);
    void UpdateText(UINT_PTR toolId, const Text& text);
    HWND GetWindow() const { return window_; }
    HWND GetOwner() const { return owner_; }

private:
    // The tool record as the first tooltip version knows it (40 bytes on 32 bits).
    TTTOOLINFOA ToolRecord(UINT_PTR toolId) const;

    HWND window_ = nullptr;
    HWND owner_ = nullptr;
};
