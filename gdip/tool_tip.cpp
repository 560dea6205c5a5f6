#include "gdip/tool_tip.h"

#include "runtime/comctl32_api.h"

namespace {
constexpr char kToolTipClass[] = "ToolTips_class32";
}

HWND ToolTip::Create(HWND owner, bool balloon) {
    owner_ = owner;
    // The class is registered by comctl32.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    pInitCommonControlsEx(&controls);
    DWORD style = TTS_ALWAYSTIP | (balloon ? TTS_BALLOON : 0);
    // Owned by the owner window so that it is destroyed with it.
    window_ = ::CreateWindowExA(0, kToolTipClass, "", style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, owner, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    return window_;
}

TTTOOLINFOA ToolTip::ToolRecord(UINT_PTR toolId) const {
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = owner_;
    tool.uId = toolId;
    return tool;
}

bool ToolTip::AddTool(const RECT& rect, const Text& text, UINT_PTR toolId) {
    TTTOOLINFOA tool = ToolRecord(toolId);
    tool.uFlags = TTF_SUBCLASS;
    tool.rect = rect;
    tool.lpszText = const_cast<char*>(text.c_str());
    return ::SendMessageA(window_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
}

bool ToolTip::AddCallbackTool(const RECT& rect, UINT_PTR toolId) {
    TTTOOLINFOA tool = ToolRecord(toolId);
    tool.uFlags = TTF_SUBCLASS;
    tool.rect = rect;
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    return ::SendMessageA(window_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
}

void ToolTip::SetBackColor(COLORREF colour) { ::SendMessageA(window_, TTM_SETTIPBKCOLOR, colour, 0); }

void ToolTip::SetTextColor(COLORREF colour) { ::SendMessageA(window_, TTM_SETTIPTEXTCOLOR, colour, 0); }

void ToolTip::SetMaxWidth(int width) { ::SendMessageA(window_, TTM_SETMAXTIPWIDTH, 0, width); }

void ToolTip::DeleteTool(UINT_PTR toolId) {
    TTTOOLINFOA tool = ToolRecord(toolId);
    ::SendMessageA(window_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void ToolTip::SetToolRect(UINT_PTR toolId, const RECT& rect) {
    TTTOOLINFOA tool = ToolRecord(toolId);
    tool.rect = rect;
    ::SendMessageA(window_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void ToolTip::UpdateText(UINT_PTR toolId, const Text& text) {
    TTTOOLINFOA tool = ToolRecord(toolId);
    tool.lpszText = const_cast<char*>(text.c_str());
    ::SendMessageA(window_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}
