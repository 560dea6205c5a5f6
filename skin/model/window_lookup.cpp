#include "skin/model/window_lookup.h"

#include "skin/model/form_skin_data.h"
#include "skin/model/skin_state.h"

namespace {

RECT Shifted(RECT r, int dx, int dy) {
    r.left -= dx;
    r.right -= dx;
    r.top -= dy;
    r.bottom -= dy;
    return r;
}

}  // namespace

BackgroundOwner FindBackgroundOwner(SkinState& engine, HWND window, bool honour) {
    BackgroundOwner found;
    if (honour && GetProperty(window, prop::kOwnsBackground) == 1) {
        found.owner = window;
        return found;
    }
    auto formOf = [&](HWND w) { return engine.WithForms([&](FormSkinList& forms) { return FindForm(forms, w); }); };
    if (int form = formOf(window)) {
        found.result = 1;
        found.formIndex = form;
        found.formWindow = window;
        return found;
    }
    for (HWND c = ::GetParent(window); c; c = ::GetParent(c)) {
        if (honour && GetProperty(c, prop::kOwnsBackground) == 1) {
            found.owner = c;
            return found;
        }
        if (int form = formOf(c)) {
            found.result = 1;
            found.formIndex = form;
            found.formWindow = c;
            return found;
        }
        struct PanelPair {
            int form = 0, panel = 0;
            HWND formWindow = nullptr;
        };
        const PanelPair panel = engine.WithForms([&](FormSkinList& forms) {
            for (std::size_t f = 0; f < forms.size(); ++f) {
                const auto& panels = forms[f]->panels;
                for (std::size_t p = 0; p < panels.size(); ++p) {
                    if (panels[p].window == c) {
                        return PanelPair{static_cast<int>(f + 1), static_cast<int>(p + 1), forms[f]->window};
                    }
                }
            }
            return PanelPair{};
        });
        if (panel.form > 0) {
            HWND parentOwner = reinterpret_cast<HWND>(GetProperty(c, prop::kParentOwnsBackground));
            if (honour && parentOwner) {
                found.owner = parentOwner;
            } else {
                found.formIndex = panel.form;
                found.panelIndex = panel.panel;
                found.formWindow = panel.formWindow;
                found.panelWindow = c;
            }
            return found;
        }
    }
    return found;
}

int FindOwningForm(SkinState& engine, HWND window) {
    for (HWND w = ::GetParent(window); w; w = ::GetParent(w)) {
        int form = engine.WithForms([&](FormSkinList& forms) { return FindForm(forms, w); });
        if (form > 0) return form;
    }
    return 0;
}

int FindControlRecord(SkinState& engine, int formIndex, HWND window, RecordList list) {
    return engine.WithForms([&](FormSkinList& forms) {
        if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return 0;
        FormSkin& form = *forms[formIndex - 1];
        auto search = [window](const auto& records) {
            for (std::size_t i = 0; i < records.size(); ++i) {
                if (records[i].window == window) return static_cast<int>(i + 1);
            }
            return 0;
        };
        switch (list) {
        case RecordList::Buttons: return search(form.buttons);
        case RecordList::Edits: return search(form.edits);
        case RecordList::Statics: return search(form.staticLabels);
        case RecordList::Panels: return search(form.panels);
        }
        return 0;
    });
}

int FindFilledAncestorPanel(SkinState& engine, int formIndex, HWND control, HWND stop) {
    for (HWND b = ::GetParent(control); b && b != stop; b = ::GetParent(b)) {
        int found = engine.WithForms([&](FormSkinList& forms) {
            if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return 0;
            const auto& panels = forms[formIndex - 1]->panels;
            for (std::size_t p = 0; p < panels.size(); ++p) {
                if (panels[p].window == b && panels[p].filled) return static_cast<int>(p + 1);
            }
            return 0;
        });
        if (found) return found;
    }
    return 0;
}

RECT RectRelativeToForm(SkinState& engine, HWND control) {
    if (engine.WithForms([&](FormSkinList& forms) { return FindForm(forms, control); }) > 0) return RECT{0, 0, 0, 0};
    const int form = FindOwningForm(engine, control);
    FormSkin* entry = engine.Form(form);
    HWND formWindow = entry ? entry->window : nullptr;
    HWND top = control;
    while (top != formWindow) {
        HWND parent = ::GetParent(top);
        if (!parent) break;
        top = parent;
    }
    return RectRelativeToWindow(top, control);
}

RECT RectRelativeToWindow(HWND reference, HWND window) {
    RECT r{}, ref{};
    ::GetWindowRect(window, &r);
    ::GetWindowRect(reference, &ref);
    return Shifted(r, ref.left, ref.top);
}

RECT RectRelativeToRoot(HWND window) { return RectRelativeToWindow(::GetAncestor(window, GA_ROOT), window); }

DisplayScale ScaleOfWindow(SkinState& state, HWND window) {
    for (HWND w = window; w; w = (::GetWindowLongA(w, GWL_STYLE) & WS_CHILD) ? ::GetParent(w) : nullptr) {
        const int dpi = state.WithForms([&](FormSkinList& forms) {
            const int index = FindForm(forms, w);
            return index > 0 ? forms[index - 1]->dpi : 0;
        });
        if (dpi > 0) return DisplayScale(dpi);
    }
    return DisplayScale(WindowDpi(window));
}
