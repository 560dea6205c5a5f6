#include "skin/skin_engine.h"

#include <cstring>

#include "runtime/allocation_failure.h"
#include "runtime/gdiplus_session.h"
#include "skin/controls/edit_skin.h"
#include "skin/controls/list_skin.h"
#include "skin/paint/paint_primitives.h"
#include "skin/window/caption_painter.h"
#include "skin/window/child_colour.h"
#include "skin/window/child_skin_dispatch.h"

namespace {

constexpr int kTreeItemExpanding = -405;
constexpr int kTreeItemExpanded = -406;
// The system sizing loop: SC_SIZE plus the side (WMSZ_LEFT .. WMSZ_BOTTOMRIGHT).
constexpr WPARAM kSizeCommand = 0xF000;

int X(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
int Y(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

LRESULT Forward(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetProperty(window, prop::kPreviousProc));
    if (!previous) return ::DefWindowProcA(window, message, wParam, lParam);
    return ::CallWindowProcA(previous, window, message, wParam, lParam);
}

struct ClientSize {
    int width = 0, height = 0;
};
ClientSize ClientOf(HWND window) {
    RECT r{};
    ::GetClientRect(window, &r);
    return ClientSize{r.right - r.left, r.bottom - r.top};
}

// The monitor the window is on (the nearest one), its whole area and the
// part the taskbar and docked bars leave free, in screen coordinates.
struct MonitorAreas {
    RECT monitor{};
    RECT work{};
};
MonitorAreas MonitorOf(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (!monitor || !::GetMonitorInfoA(monitor, &info)) {
        const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        return MonitorAreas{screen, screen};
    }
    // Of the primary monitor the system's work area is read directly: Wine
    // leaves rcWork at the whole monitor when the work area is set, Windows
    // keeps the two equal.
    RECT work{};
    if ((info.dwFlags & MONITORINFOF_PRIMARY) && ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) &&
        !::IsRectEmpty(&work)) {
        info.rcWork = work;
    }
    return MonitorAreas{info.rcMonitor, info.rcWork};
}

// The sizing zone of a client point: 0 none, else the WMSZ_ side (1 left,
// 2 right, 3 top, 4 top-left, 5 top-right, 6 bottom, 7 bottom-left, 8 bottom-right).
// The edge band is m wide, the corner squares 10 (both at 96 DPI).
int SizingZone(int x, int y, ClientSize c, int margin, const DisplayScale& scale) {
    const int m = scale.Px(margin), k = scale.Px(10);
    if ((x <= m || x >= c.width - m) && y > k && y < c.height - k) return x <= m ? WMSZ_LEFT : WMSZ_RIGHT;
    if ((y <= m || y >= c.height - m) && x > k && x < c.width - k) return y <= m ? WMSZ_TOP : WMSZ_BOTTOM;
    if (x <= k && y <= k) return WMSZ_TOPLEFT;
    if (x >= c.width - k && y >= c.height - k) return WMSZ_BOTTOMRIGHT;
    if (x >= c.width - k && y <= k) return WMSZ_TOPRIGHT;
    if (x <= k && y >= c.height - k) return WMSZ_BOTTOMLEFT;
    return 0;
}

LPCSTR ZoneCursor(int zone) {
    switch (zone) {
    case WMSZ_LEFT:
    case WMSZ_RIGHT: return IDC_SIZEWE;
    case WMSZ_TOP:
    case WMSZ_BOTTOM: return IDC_SIZENS;
    case WMSZ_TOPLEFT:
    case WMSZ_BOTTOMRIGHT: return IDC_SIZENWSE;
    default: return IDC_SIZENESW;
    }
}

}  // namespace

LRESULT CALLBACK SkinnedFormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&] {
        SkinEngine* engine = SkinEngine::Instance();
        if (!engine) return Forward(window, message, wParam, lParam);
        return engine->FormWindowProc(window, message, wParam, lParam);
    });
}

void SkinEngine::SizingCursor(int formIndex, LPARAM point) {
    FormSkin* form = Form(formIndex);
    if (!form || !form->resizable) return;
    const int zone = SizingZone(X(point), Y(point), ClientOf(form->window), captionButtonMargin_, form->Scale());
    if (zone) ::SetCursor(::LoadCursorA(nullptr, ZoneCursor(zone)));
}

void SkinEngine::SizingDrag(int formIndex, LPARAM point) {
    FormSkin* form = Form(formIndex);
    if (!form) return;
    const int x = X(point), y = Y(point);
    const DisplayScale scale = form->Scale();
    if (x >= form->buttonStripX && x <= form->buttonStripX + form->buttonStripWidth && y >= scale.Px(3) &&
        y <= form->buttonStripHeight) {
        return;
    }
    if (!form->captionOn) return;
    HWND window = form->window;
    const int zone = form->resizable ? SizingZone(x, y, ClientOf(window), captionButtonMargin_, scale) : 0;
    if (zone) {
        form->needsRedraw = 1;
        ::SetCursor(::LoadCursorA(nullptr, ZoneCursor(zone)));
        ::SendMessageA(window, WM_SYSCOMMAND, kSizeCommand + zone, 0);
    } else if (y <= scale.Px(form->captionHeight)) {
        // The system moves the window as if its caption were dragged.
        ::SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    }
}

void SkinEngine::OnMouseMove(int formIndex, FormSkin& form, LPARAM lParam) {
    if (!form.mouseTracked) {
        TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, form.window, 1};
        ::TrackMouseEvent(&track);
    }
    if (form.captionOn) {
        if (InCaptionStrip(formIndex, lParam)) {
            if (!form.timerOn) {
                ::SetTimer(form.window, reinterpret_cast<UINT_PTR>(form.window), kHoverTimerMilliseconds, nullptr);
                form.timerOn = 1;
            }
        } else {
            form.timerOn = 0;  // the timer runs on until the fade ends
        }
    }
    pressedButton_ = CaptionButtonAt(formIndex, X(lParam), Y(lParam));
    if (form.hotButton >= 1 && form.hotButton != pressedButton_) {
        if (form.hoverOut.step < kHoverSteps) {
            PaintCaptionButton(form, PaintContextNow(false), form.hoverOut.button, nullptr, ButtonFace::Normal);
        }
        form.hoverOut = HoverFade{form.hotButton, 0};
    }
    if (pressedButton_ >= 1 && pressedButton_ != form.hotButton) form.hoverIn = HoverFade{pressedButton_, 0};
    form.hotButton = pressedButton_;
    if (!form.maximised) SizingCursor(formIndex, lParam);
}

void SkinEngine::OnLeftButtonDown(int formIndex, FormSkin& form, LPARAM lParam) {
    form.hoverIn.button = 0;
    if (!form.captionOn) return;
    HWND window = form.window;
    if (!form.maximised && !form.minimised) SizingDrag(formIndex, lParam);
    // The drag loop may have destroyed or renumbered the form.
    formIndex = FormIndexOf(window);
    FormSkin* current = Form(formIndex);
    if (!current) return;
    pressedButton_ = CaptionButtonAt(formIndex, X(lParam), Y(lParam));
    if (pressedButton_ >= 1) {
        PaintCaptionButton(*current, PaintContextNow(false), pressedButton_, nullptr, ButtonFace::Pressed);
    }
}

void SkinEngine::OnMouseLeave(FormSkin& form) {
    form.mouseTracked = 0;
    if (form.hotButton < 1 || !form.captionOn) return;
    if (form.hoverOut.step < kHoverSteps && form.hoverIn.step < kHoverSteps) {
        PaintCaptionButton(form, PaintContextNow(false), form.hotButton, nullptr, ButtonFace::Normal);
        form.hoverIn = HoverFade{};
    }
    form.hoverOut = HoverFade{form.hotButton, 0};
    form.hotButton = 0;
}

void SkinEngine::OnHoverTimer(FormSkin& form) {
    const PaintContext context = PaintContextNow(false);
    if (form.hoverIn.button >= 1 && form.hoverIn.step < kHoverSteps) {
        ++form.hoverIn.step;
        PaintCaptionButton(form, context, form.hoverIn.button, nullptr, ButtonFace::Hover,
                           kHoverAlphaStep * form.hoverIn.step);
    }
    if (form.hoverOut.button >= 1 && form.hoverOut.step < kHoverSteps) {
        ++form.hoverOut.step;
        PaintCaptionButton(form, context, form.hoverOut.button, nullptr, ButtonFace::Hover,
                           kHoverAlphaStep * kHoverSteps - kHoverAlphaStep * form.hoverOut.step);
    }
    const bool outDone = form.hoverOut.button == 0 || form.hoverOut.step >= kHoverSteps;
    if ((!form.mouseTracked || !form.timerOn) && outDone) {
        form.timerOn = 0;
        ::KillTimer(form.window, reinterpret_cast<UINT_PTR>(form.window));
        form.hotButton = 0;
        form.hoverIn = HoverFade{};
        form.hoverOut = HoverFade{};
    }
}

LRESULT SkinEngine::FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const int F = FormIndexOf(window);
    FormSkin* form = Form(F);
    if (!form) return Forward(window, message, wParam, lParam);
    // Kept before handling: a handled message may destroy the window and its entry.
    const WNDPROC previous = form->previousProc;
    auto forward = [&] {
        return previous ? ::CallWindowProcA(previous, window, message, wParam, lParam)
                        : Forward(window, message, wParam, lParam);
    };
    const SkinSettings settings = WithSettings([](SkinSettings& s) {
        SkinSettings copy;
        copy.initialSizePending = s.initialSizePending;
        copy.skinControls = s.skinControls;
        copy.controlBackAlphaSet = s.controlBackAlphaSet;
        return copy;
    });
    const bool controlColours = settings.skinControls && settings.controlBackAlphaSet;

    switch (message) {
    case WM_SIZE:
        form->hotButton = 0;
        if (settings.initialSizePending) {
            WithSettings([](SkinSettings& s) { s.initialSizePending = 0; });
        } else {
            form->needsRedraw = 1;
        }
        LayoutDocked(F);
        break;
    case WM_SETTEXT:
        if (form->titleOn && form->captionOn && lParam) {
            const Text title(reinterpret_cast<const char*>(lParam));
            PaintTitle(F, &title);
        }
        break;
    case WM_PAINT: {
        {
            PaintScope paint(window);
            if (!form->minimised) {
                if (form->needsRedraw) {
                    RebuildBackground(F, paint.Dc(), true);
                } else {
                    CopyBackgroundToWindow(*form, nullptr, paint.Dc());
                }
            }
        }
        // The paint above validated the window: the default procedure would
        // only begin and end an empty paint.
        return 0;
    }
    case WM_QUIT: StopGdiplus(); break;
    case WM_QUERYOPEN: form->minimised = 0; break;
    case WM_ERASEBKGND: ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT); return 1;
    case WM_SHOWWINDOW:
        if (wParam == 1) {
            if (form->minimised) {
                form->minimised = 0;
            } else {
                PaintScope paint(window);
                RebuildBackground(F, paint.Dc(), true);
            }
        }
        break;
    case WM_ACTIVATEAPP:
        if (wParam == 0 && deactivationHandler_) deactivationHandler_();
        break;
    case WM_GETMINMAXINFO: {
        MINMAXINFO info;
        std::memcpy(&info, reinterpret_cast<void*>(lParam), sizeof info);
        POINT max{form->maxTrackWidth, form->maxTrackHeight};
        // Maximised, the form fills the work area of its own monitor: the
        // position is given relative to that monitor.
        const MonitorAreas areas = MonitorOf(window);
        const RECT& work = areas.work;
        info.ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
        info.ptMaxPosition = POINT{work.left - areas.monitor.left, work.top - areas.monitor.top};
        if (form->maximised) max = info.ptMaxSize;
        info.ptMinTrackSize = POINT{form->Scale().Px(form->minTrackWidth), form->Scale().Px(form->minTrackHeight)};
        info.ptMaxTrackSize = max;
        std::memcpy(reinterpret_cast<void*>(lParam), &info, sizeof info);
        break;
    }
    case WM_WINDOWPOSCHANGED: {
        RECT placed{};
        ::GetWindowRect(window, &placed);
        const MonitorAreas areas = MonitorOf(window);
        const RECT& work = areas.work;
        if (form->hasMaximise && ::EqualRect(&placed, &areas.monitor) && !::EqualRect(&placed, &work)) {
            form->maximised = 1;
            // Made as large as its monitor, the form leaves the taskbar
            // visible, wherever that is docked.
            ::SetWindowPos(window, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top,
                           SWP_NOZORDER | SWP_NOOWNERZORDER);
            form = Form(FormIndexOf(window));
            if (!form) break;
        }
        LayoutCaptionButtons(FormIndexOf(window));
        LayoutStatusStrip(FormIndexOf(window));
        break;
    }
    case WM_DRAWITEM:
        if (lParam) {
            DRAWITEMSTRUCT item;
            std::memcpy(&item, reinterpret_cast<void*>(lParam), sizeof item);
            PaintOwnerDrawnItem(*this, F, item);
        }
        break;
    case WM_NOTIFY: {
        NMHDR header;
        std::memcpy(&header, reinterpret_cast<void*>(lParam), sizeof header);
        const int code = static_cast<int>(header.code);
        if (code == kTreeItemExpanding || code == kTreeItemExpanded) ::InvalidateRect(header.hwndFrom, nullptr, TRUE);
        break;
    }
    case WM_NCDESTROY: {
        ::KillTimer(window, reinterpret_cast<UINT_PTR>(window));
        const LRESULT result = forward();
        WithForms([&](FormSkinList& forms) { RemoveForm(forms, FindForm(forms, window)); });
        return result;
    }
    case WM_COMMAND:
        if (controlColours && lParam) {
            HWND child = reinterpret_cast<HWND>(lParam);
            const int code = HIWORD(wParam);
            const Text cls = ClassNameOf(child);
            if ((cls == "Edit" && (code == EN_HSCROLL || code == EN_VSCROLL || code == EN_CHANGE || code == EN_UPDATE)) ||
                (cls == "ListBox" && (code == LBN_SELCHANGE || code == LBN_SETFOCUS)) ||
                (cls == "ComboBox" && (code == CBN_KILLFOCUS || code == CBN_SELCHANGE))) {
                ::InvalidateRect(child, nullptr, TRUE);
            } else if (cls != "Edit" && cls != "ListBox" && cls != "ComboBox") {
                RefreshCheckBox(*this, F, child);
            }
        }
        break;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MAXIMIZE: form->maximised = 1; form->needsRedraw = 1; break;
        case SC_RESTORE: form->needsRedraw = 1; form->minimised = 0; break;
        case SC_MINIMIZE: form->needsRedraw = 1; form->minimised = 1; break;
        default: break;
        }
        break;
    case WM_TIMER:
        if (wParam == reinterpret_cast<UINT_PTR>(window)) {
            OnHoverTimer(*form);
            return 0;
        }
        break;
    case WM_CTLCOLOREDIT: {
        HWND control = reinterpret_cast<HWND>(lParam);
        if (ClassNameOf(::GetParent(control)) == "ComboBox") break;
        // A skinned edit erases its text area itself with the veiled background,
        // and the edit fills it again with this brush when it paints: the same veil.
        if (controlColours && IsSkinnedEdit(*this, control)) {
            return AnswerEditColour(*this, control, reinterpret_cast<HDC>(wParam));
        }
        if (controlColours) return AnswerControlColour(*this, *form, reinterpret_cast<HDC>(wParam), control, true);
        break;
    }
    case WM_CTLCOLORLISTBOX: {
        HWND control = reinterpret_cast<HWND>(lParam);
        // A skinned list box painting itself over the veil: the text colour
        // as usual, the background of its pass.
        if (IsListBoxPaintPass(control)) {
            Forward(window, message, wParam, lParam);
            return AnswerListBoxPass(reinterpret_cast<HDC>(wParam));
        }
        const bool drawnBySkin = WithForms([&](FormSkinList&) {
            for (const ControlRecord& r : form->lists) {
                if (r.window == control) return true;
            }
            return false;
        });
        if (controlColours && ClassNameOf(control) == "ListBox" && !drawnBySkin) {
            return AnswerControlColour(*this, *form, reinterpret_cast<HDC>(wParam), control, false);
        }
        break;
    }
    case WM_CTLCOLORBTN:
        if (controlColours) {
            return AnswerControlColour(*this, *form, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), false);
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (controlColours) {
            HWND control = reinterpret_cast<HWND>(lParam);
            // Read-only and disabled edits ask here: the same veil as an editable one.
            if (IsSkinnedEdit(*this, control)) return AnswerEditColour(*this, control, reinterpret_cast<HDC>(wParam));
            return AnswerControlColour(*this, *form, reinterpret_cast<HDC>(wParam), control, true);
        }
        break;
    case WM_MOUSEMOVE: OnMouseMove(F, *form, lParam); break;
    case WM_LBUTTONDOWN: OnLeftButtonDown(F, *form, lParam); break;
    case WM_LBUTTONUP:
        if (form->captionOn && pressedButton_ >= 1 && pressedButton_ <= static_cast<int>(form->captionButtons.size())) {
            ClickCaptionButton(F, pressedButton_);
        }
        break;
    case WM_LBUTTONDBLCLK:
        if (Y(lParam) <= form->Scale().Px(form->captionHeight) && form->resizable) {
            for (std::size_t i = 0; i < form->captionButtons.size(); ++i) {
                if (form->captionButtons[i].command == kCommandMaximise) {
                    ClickCaptionButton(F, static_cast<int>(i + 1));
                    break;
                }
            }
        }
        break;
    case WM_DPICHANGED:
        if (lParam) {
            const RECT suggested = *reinterpret_cast<const RECT*>(lParam);
            OnDpiChanged(F, HIWORD(wParam), suggested);
        }
        return 0;
    case WM_MOUSEHOVER: form->mouseTracked = 1; break;
    case WM_MOUSELEAVE: OnMouseLeave(*form); break;
    default: break;
    }
    return forward();
}
