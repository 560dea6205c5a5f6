// Owners for the Windows handle kinds the program uses.
#pragma once

#include <windows.h>

#include "runtime/unique_handle.h"

// Kernel handles whose failure value is INVALID_HANDLE_VALUE (CreateFile, snapshots).
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::FindClose(h); }
};

using BitmapHandle = UniqueHandle<NullHandleTraits<HBITMAP, ::DeleteObject>>;
using BrushHandle = UniqueHandle<NullHandleTraits<HBRUSH, ::DeleteObject>>;
using PenHandle = UniqueHandle<NullHandleTraits<HPEN, ::DeleteObject>>;
using RegionHandle = UniqueHandle<NullHandleTraits<HRGN, ::DeleteObject>>;
using FontHandle = UniqueHandle<NullHandleTraits<HFONT, ::DeleteObject>>;
using MemoryDc = UniqueHandle<NullHandleTraits<HDC, ::DeleteDC>>;
using IconHandle = UniqueHandle<NullHandleTraits<HICON, ::DestroyIcon>>;
// Threads, processes, events, pipes: kernel handles whose failure value is NULL.
using KernelHandle = UniqueHandle<NullHandleTraits<HANDLE, ::CloseHandle>>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using ModuleHandle = UniqueHandle<NullHandleTraits<HMODULE, ::FreeLibrary>>;
using WindowHandleOwner = UniqueHandle<NullHandleTraits<HWND, ::DestroyWindow>>;

// A DC obtained with GetDC/GetWindowDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window, bool wholeWindow = false)
        : window_(window), dc_(wholeWindow ? ::GetWindowDC(window) : ::GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint/EndPaint as one owner.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = ::BeginPaint(window, &paint_); }
    ~PaintScope() { ::EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const { return dc_; }
    const PAINTSTRUCT& Paint() const { return paint_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// Selects an object into a DC and puts the previous one back on scope exit.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~ScopedSelect() {
        if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};
