// The one skin engine object: the process-wide skin settings and the lists of
// skinned windows. The form list is used by the window thread and by threads
// that show skinned message boxes, so it is reached only through a lock.
#pragma once

#include <windows.h>

#include <mutex>
#include <optional>
#include <vector>

#include "runtime/value_types.h"
#include "runtime/win_handles.h"

struct FormSkin {
    HWND window = nullptr;
};

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
    HHOOK cbtHook = nullptr;  // around a skinned message box
};

constexpr COLORREF kDefaultAccentColour = 0x00DDCA22;

class SkinEngine {
public:
    // Takes ownership of the program icon; BackColour starts as the button face colour.
    explicit SkinEngine(HICON appIcon = nullptr);
    // Destroys the program icon and shuts GDI+ down with the default token.
    ~SkinEngine();
    SkinEngine(const SkinEngine&) = delete;
    SkinEngine& operator=(const SkinEngine&) = delete;

    // The settings, under the engine's lock.
    template <typename F>
    decltype(auto) WithSettings(F&& use) {
        std::lock_guard<std::mutex> guard(lock_);
        return use(settings_);
    }
    template <typename F>
    decltype(auto) WithForms(F&& use) {
        std::lock_guard<std::mutex> guard(lock_);
        return use(forms_);
    }
    template <typename F>
    decltype(auto) WithMemoryDcRegistry(F&& use) {
        std::lock_guard<std::mutex> guard(lock_);
        return use(memoryDcRegistry_);
    }
    HICON AppIcon() const { return appIcon_.Get(); }
    // The token of the process's GDI+ session (started once at start-up).
    ULONG_PTR GdiplusToken() const;
    void SetAppIcon(HICON icon) { appIcon_.Reset(icon); }

    // Process-wide background: accent colour (given, -1 = the derived base
    // colour, not given = the default accent), then, with an image, base
    // colour, mode and image.
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
    // Skins a top-level window. The form skin is not built yet: this records
    // nothing and returns false, leaving the window in the system look.
    bool AttachForm(HWND window, const FormOptions& options, const ByteArray& backImage);

private:
    std::mutex lock_;
    SkinSettings settings_;
    std::vector<FormSkin> forms_;
    std::vector<HDC> memoryDcRegistry_;
    IconHandle appIcon_;
};
