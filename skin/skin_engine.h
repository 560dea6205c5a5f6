// The skin engine's public interface, the top of its layers (skin/model,
// skin/paint, skin/controls, skin/window; see the README): the one object the
// program and the installed window procedures reach. It is the shared state
// (SkinState: the settings and the locked form list) and adds the operations
// on forms, caption buttons, the status strip, panels and docking, which it
// hands to the layers below. Code in skin/ may include every layer.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "runtime/value_types.h"
#include "runtime/win_handles.h"
#include "skin/window/caption_painter.h"
#include "skin/model/form_skin_data.h"
#include "skin/model/skin_state.h"

class SkinEngine : public SkinState {
public:
    // Takes ownership of the program icon; BackColour starts as the button face colour.
    explicit SkinEngine(HICON appIcon = nullptr);
    // Destroys the program icon and shuts GDI+ down with the default token.
    ~SkinEngine();
    // The engine owns GDI objects through its entries: it is not copied.
    SkinEngine(const SkinEngine&) = delete;
    SkinEngine& operator=(const SkinEngine&) = delete;

    // The engine the installed window procedures reach (the last one made).
    static SkinEngine* Instance();

    // The token of the process's GDI+ session (started once at start-up).
    ULONG_PTR GdiplusToken() const;
    // Runs on every loss of the application's activation (the working-set
    // trimmer is connected here).
    void SetDeactivationHandler(std::function<void()> handler) { deactivationHandler_ = std::move(handler); }

    // Process-wide background: accent colour (given, -1 = the derived base
    // colour, not given = the default accent), then, with an image, base
    // colour, mode and image; the visible forms are repainted.
    void SetBackground(const Text& fileName, const ByteArray& image,
                       std::optional<COLORREF> baseColour = std::nullopt,
                       std::optional<int> accentColour = std::nullopt, int mode = 4);
    void SetOptions(int skinControls, std::optional<int> controlBackAlpha = std::nullopt,
                    std::optional<int> trackOption = std::nullopt);

    struct FormOptions {
        int captionHeight = 25;
        int captionOn = 1;
        int resizable = 1;
        int showHelp = 0;
        int showMenu = 0;
        int titleOn = 1;
        int captionSheen = 0;
        int statusHeight = 0;
        TextArray statusItems;
        std::optional<int> backMode;
    };
    // Skins a top-level window; returns its form index, 0 when it was skinned already.
    int AttachForm(HWND window, const FormOptions& options, const ByteArray& backImage);

    // The window procedure of skinned forms.
    LRESULT FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Runs the command of a caption button (indexes 1-based).
    void ClickCaptionButton(int formIndex, int buttonIndex);
    int AddCaptionButton(HWND window, const ByteArray& image, const ByteArray& altImage,
                         std::function<void()> handler);
    struct TitleStyle {
        std::optional<Text> face;
        std::optional<int> size;
        std::optional<COLORREF> colour;
        std::optional<COLORREF> shadowColour;
        std::optional<int> flag;
    };
    int SetTitleStyle(HWND window, const TitleStyle& style);
    int SetFormBackground(HWND window, const ByteArray& image, std::optional<int> mode = std::nullopt);
    // Rebuilds the form's background DC; with copyToWindow the result is shown.
    void RebuildBackground(int formIndex, HDC paintDc, bool copyToWindow);
    void LayoutCaptionButtons(int formIndex);
    int CaptionButtonAt(int formIndex, int x, int y);
    bool InCaptionStrip(int formIndex, LPARAM point);
    void SizingCursor(int formIndex, LPARAM point);
    void SizingDrag(int formIndex, LPARAM point);
    int SetHelpHandler(HWND window, std::function<void()> handler);
    int SetMenuHandler(HWND window, std::function<void()> handler);
    // Repaints the title of a form outside a rebuild (text null: the window's).
    void PaintTitle(int formIndex, const Text* text);
    // The status strip at the bottom of the client area: items with widths
    // (0 shares what is left); height 0 takes the strip away.
    int SetStatusStrip(HWND window, int height, const TextArray& items, const std::vector<int>& widths = {});
    // Places the items for the current client size; repaints them when one moved.
    void LayoutStatusStrip(int formIndex);
    // Item 1-based; the strip is repainted without a rebuild.
    int SetStatusText(HWND window, int item, const Text& text);
    // The items' text colour, face and size (white, "宋体", 12 until set).
    int SetStatusStyle(HWND window, std::optional<COLORREF> colour, std::optional<Text> face = std::nullopt,
                       std::optional<int> size = std::nullopt);
    // Push button into an image button of the given kind (1 one image, 3
    // four images); the button skin paints it.
    int MakeImageButton(HWND button, const std::vector<ByteArray>& images, int value, const Text& text);
    // Makes the window a panel of its form. fill is the caller's fill flag
    // (default 1: the panel paints the background behind it itself); the
    // fill colour (default 0: none) is laid over that background at alpha.
    int AttachPanel(HWND panel, std::optional<int> fill = std::nullopt, std::optional<int> alpha = std::nullopt,
                    std::optional<int> rounded = std::nullopt, std::optional<COLORREF> fillColour = std::nullopt);
    // The panel's fill colour (0: none); a colour turns the fill flag on.
    int SetPanelFill(HWND panel, COLORREF fill);
    RECT CaptionButtonStripRect(HWND window);
    int AttachContainer(HWND container);
    // Docks a child window to the width of its parent, a skinned form or a
    // panel: 2 pixels in from each side, its top at y (from the bottom edge
    // when negative), the given height, kept so on every size change. 1 when
    // docked (again, with the new placement), 0 when the parent is neither
    // or the window is not its child.
    int Dock(HWND parent, HWND child, int y, int height);
    // Moves the form's docked children, and those of its panels, to the
    // current widths.
    void LayoutDocked(int formIndex);
    void SetTextColour(HWND window, COLORREF colour);
    int SetCaptionButtonImages(HWND window, const std::optional<ByteArray>& minimise,
                               const std::optional<ByteArray>& maximise, const std::optional<ByteArray>& restore,
                               const std::optional<ByteArray>& close);

    // The answer of a WM_CTLCOLOR* from a control of the form (also given by
    // panels): a pattern brush of what lies behind it, or the hollow brush.
    LRESULT AnswerChildColour(int formIndex, HDC dc, HWND control, bool pattern);

    // The caption button under the mouse at the last move or press on any form.
    int PressedButton() const { return pressedButton_; }

private:
    // DeriveImageColour, remembered for the last image: the updater derives
    // the same image's colour for the global and the form's background.
    COLORREF DerivedColour(const ByteArray& image);
    // Form index of the nearest skinned ancestor, 0 when none.
    int OwningFormIndex(HWND window);
    // Pieces of the form procedure.
    void OnMouseMove(int formIndex, FormSkin& form, LPARAM lParam);
    void OnLeftButtonDown(int formIndex, FormSkin& form, LPARAM lParam);
    void OnMouseLeave(FormSkin& form);
    void OnHoverTimer(FormSkin& form);
    // The form moved to a monitor at another display scale: it takes the
    // suggested rectangle, its children are moved, sized and given fonts for
    // the new scale, and its background and caches are rebuilt.
    void OnDpiChanged(int formIndex, int dpi, const RECT& suggested);

    int captionButtonMargin_ = 3;
    int pressedButton_ = 0;
    std::function<void()> deactivationHandler_;
    std::size_t derivedKey_ = 0;
    COLORREF derivedColour_ = 0;
};

// The window procedure that AttachForm installs on a skinned form. It finds
// the one engine object and hands the message to SkinEngine::FormWindowProc;
// both are in form_window_proc.cpp.
LRESULT CALLBACK SkinnedFormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The hover fade: eight 20 ms steps, alpha 30 per step.
constexpr UINT kHoverTimerMilliseconds = 20;
constexpr int kHoverSteps = 8;
constexpr int kHoverAlphaStep = 30;

// The engine's end at program exit. With a worker thread still running (the
// update thread may be painting a skinned box) neither the engine nor GDI+
// may go away under it: both are kept until the process ends, which
// releases them. Otherwise the engine is destroyed and GDI+ shut down.
void ReleaseSkinEngineAtExit(std::unique_ptr<SkinEngine> engine, bool workerRunning);
