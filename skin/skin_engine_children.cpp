// The engine's operations on what a form holds besides its caption: the
// status strip, image buttons, panels, containers, the colours answered to
// children and docked windows.
#include "skin/skin_engine.h"

#include <algorithm>

#include "skin/controls/button_skin.h"
#include "skin/window/child_colour.h"
#include "skin/window/container_skin.h"
#include "skin/window/panel_skin.h"
#include "skin/window/status_strip.h"

int SkinEngine::SetStatusStrip(HWND window, int height, const TextArray& items, const std::vector<int>& widths) {
    FormSkin* form = Form(FormIndexOf(window));
    if (!form) return 0;
    form->statusHeight = std::max(height, 0);
    form->statusItems.clear();
    for (std::size_t i = 0; i < items.size(); ++i) {
        StatusItem item;
        item.text = items[i];
        item.width = i < widths.size() ? std::max(widths[i], 0) : 0;
        form->statusItems.push_back(item);
    }
    LayoutStatusItems(*form);
    form->needsRedraw = 1;
    ::InvalidateRect(window, nullptr, FALSE);
    return 1;
}

void SkinEngine::LayoutStatusStrip(int formIndex) {
    FormSkin* form = Form(formIndex);
    if (!form || form->statusHeight <= 0) return;
    // A move keeps every rectangle; a new size repaints the whole form anyway.
    if (LayoutStatusItems(*form) && !form->needsRedraw) PaintStatusStrip(*form, nullptr);
}

int SkinEngine::SetStatusText(HWND window, int item, const Text& text) {
    FormSkin* form = Form(FormIndexOf(window));
    if (!form || item < 1 || item > static_cast<int>(form->statusItems.size())) return 0;
    if (form->statusItems[item - 1].text == text) return 1;
    form->statusItems[item - 1].text = text;
    if (!form->needsRedraw) PaintStatusStrip(*form, nullptr);
    return 1;
}

int SkinEngine::SetStatusStyle(HWND window, std::optional<COLORREF> colour, std::optional<Text> face,
                               std::optional<int> size) {
    FormSkin* form = Form(FormIndexOf(window));
    if (!form) return 0;
    if (colour) form->statusTextColour = *colour;
    if (face && !face->empty()) form->statusFont = *face;
    if (size && *size > 0) form->statusFontSize = *size;
    if (form->statusHeight > 0 && !form->needsRedraw) PaintStatusStrip(*form, nullptr);
    return 1;
}

int SkinEngine::MakeImageButton(HWND button, const std::vector<ByteArray>& images, int value, const Text& text) {
    const int formIndex = OwningFormIndex(button);
    if (formIndex < 1 || images.empty()) return 0;
    // A push button not skinned yet is skinned first (owner-drawn, subclassed).
    if (SkinPushButton(*this, formIndex, button) < 1) return 0;
    const int kind = images.size() >= 4 ? kButtonFourImages : kButtonImageAndText;
    const bool changed = WithForms([&](FormSkinList& forms) {
        for (ControlRecord& record : forms[formIndex - 1]->buttons) {
            if (record.window != button) continue;
            record.kind = kind;
            record.images = images;
            record.value = value;
            if (!text.empty()) record.text = text;
            return true;
        }
        return false;
    });
    if (!changed) return 0;
    ::InvalidateRect(button, nullptr, TRUE);
    return 1;
}

int SkinEngine::AttachPanel(HWND panel, std::optional<int> fill, std::optional<int> alpha,
                            std::optional<int> rounded, std::optional<COLORREF> fillColour) {
    return ::AttachPanel(*this, panel, 1, fillColour.value_or(0), alpha.value_or(255), rounded.value_or(0),
                         fill.value_or(1));
}

int SkinEngine::SetPanelFill(HWND panel, COLORREF fill) {
    const int formIndex = OwningFormIndex(panel);
    const int found = WithForms([&](FormSkinList& forms) {
        if (formIndex < 1) return 0;
        for (PanelRecord& record : forms[formIndex - 1]->panels) {
            if (record.window == panel) {
                record.fillColour = fill;
                if (fill != 0) record.filled = 1;
                return 1;
            }
        }
        return 0;
    });
    if (found) ::InvalidateRect(panel, nullptr, TRUE);
    return found;
}

int SkinEngine::AttachContainer(HWND container) {
    return ::AttachContainer(*this, OwningFormIndex(container), container);
}

LRESULT SkinEngine::AnswerChildColour(int formIndex, HDC dc, HWND control, bool pattern) {
    return ::AnswerChildColour(*this, formIndex, dc, control, pattern);
}

int SkinEngine::Dock(HWND parent, HWND child, int y, int height) {
    if (!::IsWindow(parent) || !::IsWindow(child) || ::GetParent(child) != parent || height < 0) return 0;
    const int formIndex = FormIndexOf(parent);
    if (formIndex < 1) return DockToPanel(*this, parent, child, y, height) ? 1 : 0;
    WithForms([&](FormSkinList& forms) {
        auto& docked = forms[formIndex - 1]->docked;
        auto same = std::find_if(docked.begin(), docked.end(), [&](const DockedWindow& d) { return d.window == child; });
        if (same != docked.end()) {
            *same = DockedWindow{child, y, height};
        } else {
            docked.push_back(DockedWindow{child, y, height});
        }
    });
    LayoutDocked(formIndex);
    return 1;
}

void SkinEngine::LayoutDocked(int formIndex) {
    // Copied out under the lock: moving a window sends it messages.
    struct Parent {
        HWND window;
        std::vector<DockedWindow> docked;
    };
    std::vector<Parent> parents;
    WithForms([&](FormSkinList& forms) {
        if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return;
        FormSkin& form = *forms[formIndex - 1];
        // Windows destroyed since they were docked are forgotten.
        form.docked.erase(std::remove_if(form.docked.begin(), form.docked.end(),
                                         [](const DockedWindow& d) { return !::IsWindow(d.window); }),
                          form.docked.end());
        parents.push_back(Parent{form.window, form.docked});
        for (const PanelRecord& panel : form.panels) {
            if (panel.window && !panel.docked.empty()) parents.push_back(Parent{panel.window, panel.docked});
        }
    });
    // The form's own first: a docked panel takes its new width before its children follow it.
    for (const Parent& parent : parents) PlaceDockedWindows(parent.window, parent.docked);
}

void SkinEngine::SetTextColour(HWND window, COLORREF colour) {
    HWND target = window;
    if (ClassNameOf(window) == "ComboBox") {
        HWND edit = ::FindWindowExA(window, nullptr, "Edit", nullptr);
        if (edit) target = edit;
    }
    SetProperty(target, prop::kTextColour, static_cast<LONG_PTR>(colour));
}
