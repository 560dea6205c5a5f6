// Layer skin/model, the bottom of the skin engine: the data model and the
// shared state. It includes nothing of skin/ outside this folder.
//
// The skin engine's shared state: the
// process-wide settings, the list of skinned forms, the registry of memory
// DCs, the program icon and the message-box hooks. The form list is used by
// the window thread and by threads that show skinned message boxes, so it is
// reached only through the lock, by WithSettings / WithForms /
// WithMemoryDcRegistry.
//
// Entries are owned by the list, but their painter state belongs to the
// thread of their window: the procedures take the lock to find their entry
// and to copy the settings, then paint without it, so no lock is held across
// a call that may send a message to another thread's window.
//
// Painters and control skins take a SkinState&: it is all of the engine they
// may touch.
#pragma once

#include <windows.h>

#include <cstddef>
#include <mutex>
#include <utility>
#include <vector>

#include "runtime/value_types.h"
#include "runtime/win_handles.h"
#include "skin/model/form_skin_data.h"

// One memory DC made by the painting primitives, with the bitmap made for it
// and the object that bitmap displaced.
struct MemoryDcEntry {
    MemoryDc dc;
    BitmapHandle bitmap;
    HGDIOBJ previous = nullptr;
};

// The process-wide values a painter reads, copied out of the settings.
struct PaintContext {
    COLORREF backColour = 0;
    COLORREF accentColour = kDefaultAccentColour;
    ByteArray backImage;
    int backMode = 0;
    HICON appIcon = nullptr;
    int initialSizePending = 1;
};

class SkinState {
public:
    // Takes ownership of the program icon; BackColour starts as the button face colour.
    explicit SkinState(HICON appIcon = nullptr);
    ~SkinState();
    // The state owns GDI objects through its entries: it is not copied.
    SkinState(const SkinState&) = delete;
    SkinState& operator=(const SkinState&) = delete;

    // The state the installed window procedures reach (the last one made).
    static SkinState* Instance();

    template <typename F>
    decltype(auto) WithSettings(F&& use) {
        std::lock_guard<std::recursive_mutex> guard(lock_);
        return use(settings_);
    }
    template <typename F>
    decltype(auto) WithForms(F&& use) {
        std::lock_guard<std::recursive_mutex> guard(lock_);
        return use(forms_);
    }
    template <typename F>
    decltype(auto) WithMemoryDcRegistry(F&& use) {
        std::lock_guard<std::recursive_mutex> guard(lock_);
        return use(memoryDcRegistry_);
    }
    SkinSettings Settings();
    // The settings a painter reads, with the program icon; the background
    // image is copied only when asked for (caption buttons do not need it).
    PaintContext PaintContextNow(bool withImage = true);
    // The entry at a form index, or null. The pointer stays valid until the
    // entry's window is destroyed; use it on that window's thread.
    FormSkin* Form(int index);
    // The form index of a skinned window (its Hw_lbID checked against the list).
    int FormIndexOf(HWND window);

    HICON AppIcon() const { return appIcon_.Get(); }
    void SetAppIcon(HICON icon) { appIcon_.Reset(icon); }

    // The CBT hook around a skinned message box, one per thread: boxes on
    // two threads at once each keep and remove their own.
    // Stores the calling thread's hook; returns the one it replaces.
    HHOOK ExchangeMessageBoxHook(HHOOK hook);
    // The calling thread's hook, taken out of the state (null when none).
    HHOOK TakeMessageBoxHook();
    HHOOK MessageBoxHook();
    // How many threads have a hook stored.
    std::size_t MessageBoxHookCount();

protected:
    // Drops the entries, the registered DCs and the icon (they hold GDI and
    // GDI+ objects: the engine calls this before GDI+ ends).
    void ReleaseAll();

    std::recursive_mutex lock_;
    SkinSettings settings_;
    FormSkinList forms_;
    std::vector<MemoryDcEntry> memoryDcRegistry_;
    IconHandle appIcon_;
    std::vector<std::pair<DWORD, HHOOK>> messageBoxHooks_;  // by thread id
};
