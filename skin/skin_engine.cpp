#include "skin/skin_engine.h"

#include <algorithm>
#include <atomic>

#include "resources/embedded_images.h"
#include "runtime/files.h"
#include "runtime/gdiplus_session.h"
#include "skin/controls/button_skin.h"
#include "skin/window/child_skin_dispatch.h"
#include "skin/window/panel_skin.h"
#include "skin/window/status_strip.h"

namespace {

std::atomic<SkinEngine*> gInstance{nullptr};

CaptionButton MakeCaptionButton(int width, EmbeddedImage image, int command, const Text& name) {
    CaptionButton button;
    button.width = width;
    button.height = 18;
    button.image = EmbeddedImageBytes(image);
    button.command = command;
    button.name = name;
    return button;
}

}  // namespace

SkinEngine::SkinEngine(HICON appIcon) : SkinState(appIcon) {
    gInstance.store(this);
}

SkinEngine::~SkinEngine() {
    SkinEngine* self = this;
    gInstance.compare_exchange_strong(self, nullptr);
    // Entries and registered DCs hold GDI+ images: released before GDI+ ends.
    ReleaseAll();
    StopGdiplus();
}

SkinEngine* SkinEngine::Instance() { return gInstance.load(); }

ULONG_PTR SkinEngine::GdiplusToken() const { return DefaultGdiplusToken(); }

void SkinEngine::SetBackground(const Text& fileName, const ByteArray& image, std::optional<COLORREF> baseColour,
                               std::optional<int> accentColour, int mode) {
    const ByteArray source = fileName.empty() ? image : ReadBytesFromFile(fileName);
    const COLORREF derived = baseColour ? *baseColour : DerivedColour(source);
    std::vector<HWND> toRepaint;
    {
        std::lock_guard<std::recursive_mutex> guard(lock_);
        if (!accentColour) {
            settings_.accentColour = kDefaultAccentColour;
        } else if (*accentColour == -1) {
            settings_.accentColour = source.empty() && !baseColour ? settings_.backColour : derived;
        } else {
            settings_.accentColour = static_cast<COLORREF>(*accentColour);
        }
        if (source.empty()) return;
        settings_.backColour = derived;
        settings_.backMode = mode;
        settings_.backImage = source;
        for (auto& form : forms_) {
            if (!::IsWindowVisible(form->window)) continue;
            form->needsRedraw = 1;
            toRepaint.push_back(form->window);
            for (const ControlRecord& r : form->lists) {
                if (r.window) toRepaint.push_back(r.window);
            }
            for (const ControlRecord& r : form->headers) {
                if (r.window) toRepaint.push_back(r.window);
            }
        }
    }
    for (HWND window : toRepaint) ::InvalidateRect(window, nullptr, TRUE);
}

void SkinEngine::SetOptions(int skinControls, std::optional<int> controlBackAlpha, std::optional<int> trackOption) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    settings_.skinControls = skinControls;
    settings_.controlBackAlpha = controlBackAlpha.value_or(160);
    settings_.controlBackAlphaSet = controlBackAlpha ? 1 : 0;
    settings_.trackOption = trackOption.value_or(1);
}

int SkinEngine::AttachForm(HWND window, const FormOptions& options, const ByteArray& backImage) {
    if (!::IsWindow(window)) return 0;
    if (WithForms([&](FormSkinList& forms) { return FindForm(forms, window); }) > 0) return 0;
    const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
    captionButtonMargin_ = 3;

    auto entry = std::make_unique<FormSkin>();
    FormSkin& e = *entry;
    e.window = window;
    e.dpi = WindowDpi(window);
    e.captionHeight = std::max(options.captionHeight, 25);
    e.showHelp = options.showHelp;
    e.showMenu = options.showMenu;
    e.hasMinimise = (style & WS_MINIMIZEBOX) ? 1 : 0;
    e.hasMaximise = (style & WS_MAXIMIZEBOX) ? 1 : 0;
    e.hasClose = 1;
    e.captionOn = options.captionOn;
    e.resizable = options.resizable;
    e.titleOn = options.titleOn;
    e.captionSheen = options.captionSheen;
    e.backMode = options.backMode ? *options.backMode : Settings().backMode;
    e.minTrackWidth = 200;
    e.minTrackHeight = 150;
    e.maxTrackWidth = ::GetSystemMetrics(SM_CXSCREEN);
    e.maxTrackHeight = ::GetSystemMetrics(SM_CYSCREEN);
    if (!backImage.empty()) {
        e.backImageColour = DerivedColour(backImage);
        // Stored as given: every use reads the image as it came.
        e.backImage = backImage;
    }
    if (e.showHelp) e.captionButtons.push_back(MakeCaptionButton(26, EmbeddedImage::Help, kCommandHelp, "帮助"));
    if (e.showMenu) e.captionButtons.push_back(MakeCaptionButton(26, EmbeddedImage::MainMenu, kCommandMenu, "主菜单"));
    if (e.hasMinimise) {
        e.captionButtons.push_back(MakeCaptionButton(26, EmbeddedImage::Minimise, kCommandMinimise, "最小化"));
    }
    if (e.hasMaximise) {
        CaptionButton maximise = MakeCaptionButton(26, EmbeddedImage::Maximise, kCommandMaximise, "最大化");
        maximise.altImage = EmbeddedImageBytes(EmbeddedImage::Restore);
        e.captionButtons.push_back(std::move(maximise));
    }
    e.captionButtons.push_back(MakeCaptionButton(38, EmbeddedImage::FormClose, kCommandClose, "关闭"));
    e.buttonStripY = 0;  // the rest of the strip is laid out once the form is listed
    e.needsRedraw = 1;

    ::SetWindowLongPtrA(window, GWL_STYLE, style | WS_SYSMENU);
    const int index = WithForms([&](FormSkinList& forms) {
        return FindForm(forms, window) > 0 ? 0 : AddForm(forms, std::move(entry));
    });
    if (index == 0) return 0;
    LayoutCaptionButtons(index);
    if (options.statusHeight > 0) SetStatusStrip(window, options.statusHeight, options.statusItems);
    SkinFormChildren(*this, index, window);
    Form(index)->needsRedraw = 1;
    Form(index)->previousProc = SubclassWindow(window, &SkinnedFormProcedure);
    SetProperty(window, prop::kIndex, index);
    return index;
}

void SkinEngine::ClickCaptionButton(int formIndex, int buttonIndex) {
    FormSkin* form = Form(formIndex);
    if (!form || buttonIndex < 1 || buttonIndex > static_cast<int>(form->captionButtons.size())) return;
    const CaptionButton& button = form->captionButtons[buttonIndex - 1];
    HWND window = form->window;
    switch (button.command) {
    case kCommandClose: ::SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case kCommandMaximise:
        form->needsRedraw = 1;
        form->minimised = 0;
        if (form->maximised) {
            form->maximised = 0;
            ::SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
        } else {
            form->maximised = 1;
            ::SendMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        }
        break;
    case kCommandMinimise:
        form->minimised = 1;
        ::SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    case kCommandHelp: {
        auto handler = form->helpHandler;
        if (handler) handler();
        break;
    }
    case kCommandMenu: {
        auto handler = form->menuHandler;
        if (handler) handler();
        break;
    }
    case kCommandCustom: {
        auto handler = button.handler;
        if (handler) handler();
        break;
    }
    default: break;
    }
}

int SkinEngine::AddCaptionButton(HWND window, const ByteArray& image, const ByteArray& altImage,
                                 std::function<void()> handler) {
    const int index = FormIndexOf(window);
    FormSkin* form = Form(index);
    if (!form) return 0;
    CaptionButton button;
    button.width = 26;
    button.height = 18;
    button.image = image;
    button.altImage = altImage;
    button.command = kCommandCustom;
    button.handler = std::move(handler);
    form->captionButtons.insert(form->captionButtons.begin(), std::move(button));
    form->needsRedraw = 1;
    LayoutCaptionButtons(index);
    ::InvalidateRect(window, nullptr, FALSE);
    return 1;
}

int SkinEngine::SetTitleStyle(HWND window, const TitleStyle& style) {
    const int index = FormIndexOf(window);
    FormSkin* form = Form(index);
    if (!form) return 0;
    if (style.face) form->titleFont = *style.face;
    if (style.size) form->titleFontSize = *style.size;
    if (style.colour) form->titleColour = *style.colour;
    if (style.shadowColour) form->titleShadowColour = *style.shadowColour;
    if (style.flag) form->titleFlag = *style.flag;
    if (form->titleOn && form->captionOn) PaintTitle(index, nullptr);
    return 1;
}

int SkinEngine::SetFormBackground(HWND window, const ByteArray& image, std::optional<int> mode) {
    FormSkin* form = Form(FormIndexOf(window));
    if (!form) return 0;
    form->backMode = mode.value_or(form->backMode);
    form->backImageColour = DerivedColour(image);
    form->backImage = image;
    form->needsRedraw = 1;
    ::InvalidateRect(window, nullptr, FALSE);
    return 1;
}

void SkinEngine::RebuildBackground(int formIndex, HDC paintDc, bool copyToWindow) {
    FormSkin* form = Form(formIndex);
    if (!form) return;
    ::RebuildBackground(*form, PaintContextNow(), copyToWindow, paintDc);
}

void SkinEngine::LayoutCaptionButtons(int formIndex) {
    FormSkin* form = Form(formIndex);
    if (!form) return;
    // The strip and the buttons are placed in device pixels at the form's scale.
    LayOutCaptionStrip(*form);
    const bool newTip = form->tooltip.GetWindow() == nullptr;
    if (newTip) form->tooltip.Create(form->window);
    for (std::size_t i = 0; i < form->captionButtons.size(); ++i) {
        const CaptionButton& button = form->captionButtons[i];
        const RECT r{static_cast<LONG>(button.rect.x), static_cast<LONG>(button.rect.y),
                     static_cast<LONG>(button.rect.x + button.rect.width),
                     static_cast<LONG>(button.rect.y + button.rect.height)};
        const UINT_PTR toolId = i + 1;
        if (newTip) {
            form->tooltip.AddTool(r, button.name, toolId);
        } else {
            // A button added after the first layout has no tool yet: delete and add again.
            form->tooltip.DeleteTool(toolId);
            form->tooltip.AddTool(r, button.name, toolId);
        }
    }
}

int SkinEngine::CaptionButtonAt(int formIndex, int x, int y) {
    FormSkin* form = Form(formIndex);
    if (!form) return 0;
    if (x < form->buttonStripX || y < form->buttonStripY || y > form->buttonStripY + form->buttonStripHeight) return 0;
    for (std::size_t i = 0; i < form->captionButtons.size(); ++i) {
        if (form->captionButtons[i].rect.Contains(x, y)) return static_cast<int>(i + 1);
    }
    return 0;
}

bool SkinEngine::InCaptionStrip(int formIndex, LPARAM point) {
    FormSkin* form = Form(formIndex);
    if (!form) return false;
    const int x = static_cast<short>(LOWORD(point)), y = static_cast<short>(HIWORD(point));
    return x >= form->buttonStripX - form->Scale().Px(2) && x <= form->buttonStripX + form->buttonStripWidth && y >= 0 &&
           y <= form->buttonStripHeight;
}

int SkinEngine::SetHelpHandler(HWND window, std::function<void()> handler) {
    FormSkin* form = Form(FormIndexOf(window));
    if (!form) return 0;
    form->helpHandler = std::move(handler);
    return 1;
}

int SkinEngine::SetMenuHandler(HWND window, std::function<void()> handler) {
    FormSkin* form = Form(FormIndexOf(window));
    if (!form) return 0;
    form->menuHandler = std::move(handler);
    return 1;
}

void SkinEngine::PaintTitle(int formIndex, const Text* text) {
    FormSkin* form = Form(formIndex);
    if (!form) return;
    ::PaintTitle(*form, PaintContextNow(), nullptr, text);
}

RECT SkinEngine::CaptionButtonStripRect(HWND window) {
    FormSkin* form = Form(FormIndexOf(window));
    if (!form) return RECT{0, 0, 0, 0};
    return RECT{form->buttonStripX, form->buttonStripY, form->buttonStripX + form->buttonStripWidth,
                form->buttonStripY + form->buttonStripHeight};
}

int SkinEngine::SetCaptionButtonImages(HWND window, const std::optional<ByteArray>& minimise,
                                       const std::optional<ByteArray>& maximise,
                                       const std::optional<ByteArray>& restore,
                                       const std::optional<ByteArray>& close) {
    FormSkin* form = Form(FormIndexOf(window));
    if (!form) return 0;
    for (CaptionButton& button : form->captionButtons) {
        if (button.command == kCommandMinimise && minimise) button.image = *minimise;
        if (button.command == kCommandMaximise && maximise) button.image = *maximise;
        if (button.command == kCommandMaximise && restore) button.altImage = *restore;
        if (button.command == kCommandClose && close) button.image = *close;
    }
    form->needsRedraw = 1;
    ::InvalidateRect(window, nullptr, FALSE);
    return 1;
}

COLORREF SkinEngine::DerivedColour(const ByteArray& image) {
    if (image.empty()) return DeriveImageColour(image);
    const std::size_t key = ImageBytesKey(image);
    {
        std::lock_guard<std::recursive_mutex> guard(lock_);
        if (derivedKey_ == key) return derivedColour_;
    }
    const COLORREF colour = DeriveImageColour(image);
    std::lock_guard<std::recursive_mutex> guard(lock_);
    derivedKey_ = key;
    derivedColour_ = colour;
    return colour;
}

int SkinEngine::OwningFormIndex(HWND window) {
    for (HWND w = ::GetParent(window); w; w = ::GetParent(w)) {
        if (int index = FormIndexOf(w)) return index;
    }
    return 0;
}

void ReleaseSkinEngineAtExit(std::unique_ptr<SkinEngine> engine, bool workerRunning) {
    if (!workerRunning) {
        engine.reset();
        return;
    }
    KeepGdiplusUntilProcessEnds();
    // Deliberately not destroyed: the process ends in a moment.
    static_cast<void>(engine.release());
}
