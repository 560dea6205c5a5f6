// Layer skin/controls: one file pair per control skin. A control skin takes
// the state (SkinState&) and the painters it needs, never the engine; it may
// include skin/controls, skin/paint and skin/model.
//
// What the control skins share: the settings they paint with, the record a
// subclassed control finds through its properties, forwarding to the
// replaced procedure, taking a slot in a record list, and the keyboard-focus
// cue of controls whose own look shows no focus.
#pragma once

#include <windows.h>

#include <vector>

#include "skin/model/display_scale.h"
#include "skin/model/form_skin_data.h"
#include "skin/model/skin_state.h"

class GdipGraphics;
class GdipImage;
class GdipPath;
class GdipPen;

// The settings a control painter reads, copied out under the engine's lock.
struct ControlSkinSettings {
    int skinControls = 1;
    int controlBackAlpha = 160;
    bool translucent = false;  // skinControls and an explicit alpha
    COLORREF accent = kDefaultAccentColour;
};
ControlSkinSettings ControlSettings(SkinState& engine);

// A control record list of a form entry.
using RecordListMember = std::vector<ControlRecord> FormSkin::*;

// Runs use(form, record) under the engine's lock when the window's Hw_FuID /
// Hw_lbID name a record of that list whose window is this one; false when not.
template <typename Use>
bool WithControlRecord(SkinState& engine, HWND window, RecordListMember list, Use&& use) {
    const LONG_PTR formIndex = GetProperty(window, prop::kFormIndex);
    const LONG_PTR index = GetProperty(window, prop::kIndex);
    return engine.WithForms([&](FormSkinList& forms) {
        if (formIndex < 1 || formIndex > static_cast<LONG_PTR>(forms.size())) return false;
        FormSkin& form = *forms[formIndex - 1];
        std::vector<ControlRecord>& records = form.*list;
        if (index < 1 || index > static_cast<LONG_PTR>(records.size())) return false;
        ControlRecord& record = records[index - 1];
        if (record.window != window) return false;
        use(form, record);
        return true;
    });
}

// Whether the list holds the window's record: the control is skinned already,
// whatever procedure it has now (something may have subclassed it since).
bool HasRecordOf(const std::vector<ControlRecord>& records, HWND window);

// The message passed to the procedure kept in Hw_hProc (DefWindowProcA when none).
LRESULT ForwardToPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The list's single empty record when it holds exactly that one, else a new
// record appended; returns its 1-based index.
int TakeRecordSlot(std::vector<ControlRecord>& records);

// The window's rectangle with its origin at (0, 0).
RECT WindowBounds(HWND window);

// Asks for WM_MOUSELEAVE when the mouse leaves the window.
void TrackMouseLeave(HWND window);

// Keeps the hide-focus flag a WM_UPDATEUISTATE sets or clears on the control.
void FollowUiState(HWND window, WPARAM wParam);
// Whether a control that has the focus shows it: false while its UI state
// hides focus cues (WM_UPDATEUISTATE with UISF_HIDEFOCUS).
bool FocusCuesShown(HWND window);

// The focus cue: a soft rounded outline in the accent colour just inside the
// rectangle, in the style of the push button's focus glow; its inset, radius
// and width follow the scale.
void DrawFocusCue(GdipGraphics& graphics, float x, float y, float width, float height, COLORREF accent,
                  const DisplayScale& scale);

// Above 96 DPI images are drawn larger than they are: smoothly, with the
// pixel centres where GDI+ expects them. At 96 the modes are left alone, so
// the images come out exactly as before.
void UseSmoothImageScaling(GdipGraphics& graphics, const DisplayScale& scale);
// The image at (x, y) at its own size in 96-DPI pixels, scaled.
void DrawImageScaled(GdipGraphics& graphics, const GdipImage& image, float x, float y, const DisplayScale& scale);

// Outlines of the control skins are one pixel wide at 96 DPI, scaled (never
// under a pixel). A path whose one-pixel outline ran along the shape's edge
// pixels is moved in by OutlineInset on each side, so that the wider
// outline covers the edge pixels inward and nothing outside.
float OutlineInset(const DisplayScale& scale);
void DrawOutline(GdipGraphics& graphics, const GdipPath& path, COLORREF colour, int alpha, const DisplayScale& scale);

// A frame `width` device pixels wide lying just inside a W x H rectangle
// (pixels 0 .. width - 1 from each edge), drawn with a pen of that width.
void DrawInnerFrame(GdipGraphics& graphics, const GdipPen& pen, int W, int H, int width);
