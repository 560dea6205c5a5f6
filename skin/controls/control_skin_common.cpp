#include "skin/controls/control_skin_common.h"

ControlSkinSettings ControlSettings(SkinState& engine) {
    return engine.WithSettings([](SkinSettings& s) {
        ControlSkinSettings copy;
        copy.skinControls = s.skinControls;
        copy.controlBackAlpha = s.controlBackAlpha;
        copy.translucent = s.skinControls != 0 && s.controlBackAlphaSet != 0;
        copy.accent = s.accentColour;
        return copy;
    });
}

LRESULT ForwardToPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetProperty(window, prop::kPreviousProc));
    if (!previous) return ::DefWindowProcA(window, message, wParam, lParam);
    return ::CallWindowProcA(previous, window, message, wParam, lParam);
}

int TakeRecordSlot(std::vector<ControlRecord>& records) {
    if (records.size() == 1 && records[0].window == nullptr) return 1;
    records.emplace_back();
    return static_cast<int>(records.size());
}

RECT WindowBounds(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return RECT{0, 0, r.right - r.left, r.bottom - r.top};
}

void TrackMouseLeave(HWND window) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, HOVER_DEFAULT};
    ::TrackMouseEvent(&track);
}
