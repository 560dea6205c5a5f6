// Panels: child windows (typically group boxes) whose children the skin
// engine skins, with an optional translucent fill over the skin background.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "skin/model/form_skin_data.h"

class SkinState;

// Makes the window a panel of its form and skins its children. fillColour
// is laid over the background behind the panel at the given alpha (0: no
// colour). fill is the caller's fill flag: set, the panel paints that
// background itself; clear, its own procedure paints; not given, the panel
// paints itself when it has a colour. A group box is always rounded.
// Returns the panel's 1-based index, 0 when the window is a panel already
// or has no skinned form above it.
int AttachPanel(SkinState& engine, HWND window, int option = 1, COLORREF fillColour = 0, int alpha = 255,
                int rounded = 0, std::optional<int> fill = std::nullopt);

// Keeps child stretched to the panel's width (2 pixels in from each side)
// at y with the given height whenever the panel is resized. False when the
// window is no panel.
bool DockToPanel(SkinState& engine, HWND panel, HWND child, int y, int height);

// Moves the docked windows to the parent's client width, 2 pixels in from
// each side, at their y and height (96-DPI sizes, placed at the scale of the
// parent's form); windows already in place are left alone and windows no
// longer alive are skipped.
void PlaceDockedWindows(HWND parent, const std::vector<DockedWindow>& docked);

// True for a "Button" whose style has the group-box bit.
bool IsGroupButton(HWND window);

// The first window from the parent upwards that supplies its own background
// (Wxk_Zpf = 1); null when none.
HWND FindBackgroundOwnerAncestor(HWND window);

// The procedure installed on panels.
LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// What the form procedure and the panel procedure answer alike: the colour
// messages of their children, item drawing, and the commands and
// notifications that make a child repaint. Returns true with the result
// when the message was answered; false to pass it on.
bool AnswerChildMessage(SkinState& engine, int formIndex, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT& result);
