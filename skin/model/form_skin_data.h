// What the skin engine keeps about each skinned window: the window property
// names, the caption buttons, the control records, the per-window entry and
// the process-wide settings, and the operations on the list of entries.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "gdip/tool_tip.h"
#include "runtime/value_types.h"
#include "runtime/win_handles.h"
#include "skin/model/display_scale.h"

class GdipFont;
class GdipImage;

// An image decoded once from its file bytes and kept while the bytes stay the same.
struct DecodedImage {
    std::shared_ptr<GdipImage> image;
    std::size_t key = 0;
};

// Window properties (GetPropA/SetPropA); a missing property reads as 0.
namespace prop {
inline constexpr char kPreviousProc[] = "Hw_hProc";
inline constexpr char kIndex[] = "Hw_lbID";
inline constexpr char kFormIndex[] = "Hw_FuID";
inline constexpr char kContainerIndex[] = "Kj_lbID";
inline constexpr char kContainerFormIndex[] = "Kj_FuID";
inline constexpr char kContainerProc[] = "Kj_hProc";
inline constexpr char kTextColour[] = "Kj_Ztys";
inline constexpr char kChildBrush[] = "Kj_dxjb";
inline constexpr char kChildBrushBitmap[] = "Kj_wtjb";
inline constexpr char kDisplacedObject[] = "Ck_Ycjdx";
inline constexpr char kBackgroundBitmap[] = "Ck_wtjbdx";
inline constexpr char kParentOwnsBackground[] = "Mb_zpf";
inline constexpr char kOwnsBackground[] = "Wxk_Zpf";
inline constexpr char kOwnerBackgroundDc[] = "Wxk_Cj";
}  // namespace prop

LONG_PTR GetProperty(HWND window, const char* name);
void SetProperty(HWND window, const char* name, LONG_PTR value);

// What a caption button does when clicked.
enum CaptionCommand : int {
    kCommandClose = 0,
    kCommandMaximise = 1,
    kCommandMinimise = 2,
    kCommandMenu = 3,
    kCommandHelp = 4,
    kCommandCustom = 5,
};

struct ButtonRect {
    float x = 0, y = 0, width = 0, height = 0;
    bool Contains(int px, int py) const {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
};

struct CaptionButton {
    int width = 26;
    int height = 18;
    ByteArray image;
    ByteArray altImage;  // maximise: the restore glyph
    int command = kCommandClose;
    Text name;
    std::function<void()> handler;  // command 5
    ButtonRect rect;
    DecodedImage decoded, decodedAlt;
};

// Button record kinds.
enum ButtonKind : int {
    kButtonPush = 0,
    kButtonImageAndText = 1,  // one image and the caption
    kButtonFourImages = 3,    // normal, hot, pressed, disabled images
    kButtonRadio = 4,
    kButtonCheckBox = 5,
};

// A skinned child control; its skin (a later layer) extends what it keeps.
struct ControlRecord {
    HWND window = nullptr;
    int kind = 0;
    std::vector<ByteArray> images;
    int value = 0;
    Text text;
    // The control skins' state: the procedure replaced at attach, focus,
    // hover and mouse-down flags.
    WNDPROC previousProc = nullptr;
    int focused = 0;
    int hovered = 0;
    int mouseDown = 0;
    // Push buttons: whether the button is the dialog's default push button
    // (the owner-draw type hides BS_DEFPUSHBUTTON from the style).
    int defaultButton = 0;
    // Labels: image placement. Labels and buttons: the font they draw with.
    int placement = 0;
    Text fontFace;
    int fontSize = 0;
    int fontStyle = 0;
    // Check boxes and radio buttons: the state at attach and the parent.
    int checkedAtAttach = 0;
    HWND parent = nullptr;
    // Track bars: orientation, tick placement (0 top/left, 1 bottom/right,
    // 2 both, 3 none) and whether a selection range is shown.
    int vertical = 0;
    int tickPlacement = 1;
    int selectionRange = 0;
    // Up-down controls: the half under the mouse, orientation and the
    // lParam of the last button message.
    int hotPart = 0;
    int horizontal = 0;
    LPARAM lastMousePosition = 0;
    // Headers: clickable style, the control's image list, hot and pressed
    // item (-1 for none).
    int clickable = 0;
    HIMAGELIST imageList = nullptr;
    int hotItem = -1;
    int pressedItem = -1;
    // Lists: arrow-key navigation seen while translucent.
    int keyNavigation = 0;
};

// A window docked to the width of a panel or a form (moved on their WM_SIZE):
// y is its top, counted from the bottom edge when negative.
struct DockedWindow {
    HWND window = nullptr;
    int y = 0;
    int height = 0;
};

struct PanelRecord {
    HWND window = nullptr;
    COLORREF fillColour = 0;
    int fillAlpha = 255;
    int rounded = 0;
    int filled = 0;
    int option = 1;
    int attached = 0;
    WNDPROC previousProc = nullptr;
    // A group box's caption font.
    Text captionFace;
    int captionSize = 0;
    int captionStyle = 0;
    std::vector<DockedWindow> docked;
};

// A memory DC with a bitmap selected into it, released in the order GDI
// needs: the displaced object back, the bitmap deleted, then the DC.
class OffscreenDc {
public:
    OffscreenDc() = default;
    OffscreenDc(OffscreenDc&&) noexcept = default;
    OffscreenDc& operator=(OffscreenDc&& other) noexcept {
        if (this != &other) {
            Reset();
            dc_ = std::move(other.dc_);
            bitmap_ = std::move(other.bitmap_);
            displaced_ = std::exchange(other.displaced_, nullptr);
        }
        return *this;
    }
    ~OffscreenDc() { Reset(); }

    // A new DC compatible with the screen holding a width x height bitmap of
    // the screen's format; false when GDI refuses.
    bool Create(int width, int height);
    // The same over a 32-bit top-down DIB section, which GDI+ draws into
    // many times faster than into a device bitmap under Wine.
    bool CreateDib(int width, int height);
    void Reset();
    HDC Dc() const { return dc_.Get(); }
    bool IsValid() const { return dc_.IsValid(); }

private:
    MemoryDc dc_;
    BitmapHandle bitmap_;
    HGDIOBJ displaced_ = nullptr;
};

// The brush (and the bitmap it was made from) last answered for a child's
// WM_CTLCOLOR*; also mirrored in the child's Kj_dxjb / Kj_wtjb.
struct ChildBrush {
    HWND child = nullptr;
    // Declared bitmap first: the brush made from it is deleted before it.
    BitmapHandle bitmap;
    BrushHandle brush;
};

struct HoverFade {
    int button = 0;
    int step = 0;
};

// The hover faces of one caption button as painted since the last rebuild:
// one slot per fade step (alpha 0, 30, ... 240), side by side.
struct HoverFaceCache {
    OffscreenDc faces;
    unsigned filled = 0;  // bit per slot
    COLORREF accent = 0;
    int maximised = 0;
};

// Where a child of a form was first seen and at which DPI: when the form
// moves between monitors every later place is computed from it, so that
// controls never creep by rounding.
struct ChildOrigin {
    HWND window = nullptr;
    RECT place{};  // in its parent's client coordinates
    int dpi = 0;
};

struct StatusItem {
    Text text;
    int width = 0;
    RECT rect{};
};

// One skinned top-level window or dialog.
struct FormSkin {
    HWND window = nullptr;
    // The DPI the form is laid out and painted at (its monitor's). The sizes
    // below are 96-DPI sizes, as callers give them; painters scale them with
    // Scale(). Geometry computed at layout (button rectangles, strip
    // position, region size) is in device pixels.
    int dpi = DisplayScale::kBaseDpi;
    DisplayScale Scale() const { return DisplayScale(dpi); }
    int captionHeight = 25;
    int showHelp = 0;
    int showMenu = 0;
    int hasMinimise = 0;
    int hasMaximise = 0;
    int hasClose = 1;
    int titleOn = 1;
    int captionSheen = 0;
    ByteArray backImage;
    int backMode = 0;
    COLORREF backImageColour = 0;
    DecodedImage decodedBackImage;  // the form's own image, or the global one
    std::vector<CaptionButton> captionButtons;
    int buttonStripX = 0;
    int buttonStripY = 0;
    int buttonStripWidth = 0;
    int buttonStripHeight = 22;
    int maximised = 0;
    int minimised = 0;
    int minTrackWidth = 200;
    int minTrackHeight = 150;
    int maxTrackWidth = 0;
    int maxTrackHeight = 0;
    int resizable = 1;
    int captionOn = 1;
    COLORREF titleColour = 0x00FFFFFF;
    COLORREF titleShadowColour = 0x00808080;
    Text titleFont = "宋体";
    int titleFontSize = 12;
    int titleFlag = 1;
    std::shared_ptr<GdipFont> titleFontCache;
    Text titleFontCacheFace;
    int titleFontCacheSize = 0;
    std::function<void()> helpHandler;
    std::function<void()> menuHandler;

    std::vector<ControlRecord> buttons, edits, comboBoxes, containers;
    // These lists start with one empty record that the first attach takes.
    std::vector<ControlRecord> lists = std::vector<ControlRecord>(1);
    std::vector<ControlRecord> trackBars = std::vector<ControlRecord>(1);
    std::vector<ControlRecord> upDowns = std::vector<ControlRecord>(1);
    std::vector<ControlRecord> headers = std::vector<ControlRecord>(1);
    std::vector<ControlRecord> progressBars = std::vector<ControlRecord>(1);
    std::vector<ControlRecord> staticLabels = std::vector<ControlRecord>(1);
    std::vector<PanelRecord> panels = std::vector<PanelRecord>(1);

    // Also set by SetBackground from whichever thread calls it.
    std::atomic<int> needsRedraw{1};
    // The whole client area as painted; the bitmap and the displaced object
    // are mirrored in Ck_wtjbdx / Ck_Ycjdx.
    MemoryDc backgroundDc;
    BitmapHandle backgroundBitmap;
    HGDIOBJ backgroundDisplaced = nullptr;
    // The caption band and the status strip without title, buttons and items.
    OffscreenDc captionCache;
    OffscreenDc statusCache;
    // Background colour, image and sheen as last laid out, reused while the
    // size and what they were made from stay the same (scaling the image
    // is most of a rebuild's cost).
    OffscreenDc baseLayer;
    std::size_t baseLayerKey = 0;
    // The caption band with title and buttons in their normal faces, reused
    // while nothing drawn there changed.
    OffscreenDc dressedCaption;
    std::size_t dressedCaptionKey = 0;
    SIZE regionSize{0, 0};  // client size the window region was cut for
    std::vector<ChildBrush> childBrushes;
    std::vector<HoverFaceCache> hoverFaces;  // by caption button; cleared by a rebuild

    WNDPROC previousProc = nullptr;
    ToolTip tooltip;
    int hotButton = 0;
    int mouseTracked = 0;
    int timerOn = 0;
    HoverFade hoverIn;
    HoverFade hoverOut;

    std::vector<DockedWindow> docked;  // children kept to the form's width
    std::vector<ChildOrigin> childOrigins;  // filled by the first change of DPI

    int statusHeight = 0;
    std::vector<StatusItem> statusItems;
    COLORREF statusTextColour = 0x00FFFFFF;
    Text statusFont = "宋体";
    int statusFontSize = 12;
    std::shared_ptr<GdipFont> statusFontCache;
    Text statusFontCacheFace;
    int statusFontCacheSize = 0;

    int hotControl = 0, hotControlClass = 0, previousHotControl = 0, previousHotControlClass = 0;
    HWND hotEditParent = nullptr;  // the parent of the edit last painted hot
    int dialogCloseHot = 0;
    int dialogPainted = 0;  // 1 from the dialog's first paint on

    FormSkin() = default;
    FormSkin(const FormSkin&) = delete;
    FormSkin& operator=(const FormSkin&) = delete;
    ~FormSkin() { ReleaseBackground(); }

    // Selects the displaced object back, then deletes the bitmap and the DC.
    void ReleaseBackground();
    // Releases the brushes answered for a child (or, with null, for all).
    void ReleaseChildBrush(HWND child);
    // Every control array, for walks over all controls.
    std::vector<std::vector<ControlRecord>*> ControlArrays();
};

// The process-wide skin settings.
struct SkinSettings {
    int initialSizePending = 1;
    int skinControls = 1;
    int controlBackAlpha = 160;
    int controlBackAlphaSet = 0;
    int trackOption = 1;
    COLORREF accentColour = 0x00DDCA22;
    COLORREF backColour = 0;
    ByteArray backImage;
    int backMode = 0;
    int fadeInStarted = 0;
};

constexpr COLORREF kDefaultAccentColour = 0x00DDCA22;

// The entries of skinned windows, addressed by 1-based form index. Entries
// are held by pointer so an entry stays where it is while others come and go.
using FormSkinList = std::vector<std::unique_ptr<FormSkin>>;

// The 1-based place for a new record: the list's single empty record when
// it holds only that one, else a new record at the end. The record's window
// is set; the caller fills in the rest.
template <typename Record>
int TakeRecordSlot(std::vector<Record>& records, HWND window) {
    if (!(records.size() == 1 && records[0].window == nullptr)) records.emplace_back();
    records.back().window = window;
    return static_cast<int>(records.size());
}

// Form index of the window's entry, 0 when none.
int FindForm(const FormSkinList& list, HWND window);
// Appends the entry; returns its form index.
int AddForm(FormSkinList& list, std::unique_ptr<FormSkin> entry);
// Releases what the entry holds, removes it and renumbers the properties of
// every later entry's window and controls. False for an index out of range.
bool RemoveForm(FormSkinList& list, int index);

void SetLayeredStyle(HWND window, bool clickThrough);
Text ClassNameOf(HWND window);
// Installs the procedure, keeps the previous one in Hw_hProc and returns it.
WNDPROC SubclassWindow(HWND window, WNDPROC procedure);
