#include "skin/window/child_colour.h"

#include "skin/paint/paint_primitives.h"

LRESULT AnswerControlColour(SkinState& state, FormSkin& form, HDC dc, HWND control, bool pattern) {
    ::SetTextColor(dc, static_cast<COLORREF>(GetProperty(control, prop::kTextColour)));
    ::SetBkMode(dc, TRANSPARENT);
    form.ReleaseChildBrush(control);
    HBRUSH answer = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    // Before the first rebuild there is nothing to copy: the child stays hollow.
    if (pattern && form.backgroundDc) {
        RECT client{};
        ::GetClientRect(control, &client);
        ChildBrush held;
        held.child = control;
        held.bitmap = ComposeControlBackgroundBitmap(state, control, client);
        if (held.bitmap) held.brush.Reset(::CreatePatternBrush(held.bitmap.Get()));
        if (held.brush) {
            answer = held.brush.Get();
            SetProperty(control, prop::kChildBrushBitmap, reinterpret_cast<LONG_PTR>(held.bitmap.Get()));
            form.childBrushes.push_back(std::move(held));
        }
    }
    SetProperty(control, prop::kChildBrush, reinterpret_cast<LONG_PTR>(answer));
    return reinterpret_cast<LRESULT>(answer);
}

LRESULT AnswerChildColour(SkinState& state, int formIndex, HDC dc, HWND control, bool pattern) {
    FormSkin* form = state.Form(formIndex);
    if (!form) return 0;
    return AnswerControlColour(state, *form, dc, control, pattern);
}
