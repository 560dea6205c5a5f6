#include "skin/model/form_skin_data.h"

LONG_PTR GetProperty(HWND window, const char* name) {
    return reinterpret_cast<LONG_PTR>(::GetPropA(window, name));
}

void SetProperty(HWND window, const char* name, LONG_PTR value) {
    ::SetPropA(window, name, reinterpret_cast<HANDLE>(value));
}

bool OffscreenDc::Create(int width, int height) {
    Reset();
    WindowDc screen(nullptr);
    dc_.Reset(::CreateCompatibleDC(screen.Get()));
    bitmap_.Reset(::CreateCompatibleBitmap(screen.Get(), width > 0 ? width : 1, height > 0 ? height : 1));
    if (!dc_ || !bitmap_) {
        Reset();
        return false;
    }
    displaced_ = ::SelectObject(dc_.Get(), bitmap_.Get());
    return true;
}

bool OffscreenDc::CreateDib(int width, int height) {
    Reset();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width > 0 ? width : 1;
    info.bmiHeader.biHeight = -(height > 0 ? height : 1);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc_.Reset(::CreateCompatibleDC(nullptr));
    bitmap_.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc_ || !bitmap_) {
        Reset();
        return false;
    }
    displaced_ = ::SelectObject(dc_.Get(), bitmap_.Get());
    return true;
}

void OffscreenDc::Reset() {
    if (dc_ && displaced_) ::SelectObject(dc_.Get(), displaced_);
    displaced_ = nullptr;
    bitmap_.Reset();
    dc_.Reset();
}

void FormSkin::ReleaseBackground() {
    if (backgroundDc && backgroundDisplaced) ::SelectObject(backgroundDc.Get(), backgroundDisplaced);
    backgroundDisplaced = nullptr;
    backgroundBitmap.Reset();
    backgroundDc.Reset();
    captionCache.Reset();
    statusCache.Reset();
    baseLayer.Reset();
    hoverFaces.clear();
    ReleaseChildBrush(nullptr);
}

void FormSkin::ReleaseChildBrush(HWND child) {
    for (auto it = childBrushes.begin(); it != childBrushes.end();) {
        if (child == nullptr || it->child == child) {
            if (::IsWindow(it->child)) {
                SetProperty(it->child, prop::kChildBrush, 0);
                SetProperty(it->child, prop::kChildBrushBitmap, 0);
            }
            it = childBrushes.erase(it);
        } else {
            ++it;
        }
    }
}

std::vector<std::vector<ControlRecord>*> FormSkin::ControlArrays() {
    return {&buttons, &edits, &lists, &trackBars, &progressBars, &comboBoxes, &upDowns, &headers, &staticLabels};
}

int FindForm(const FormSkinList& list, HWND window) {
    if (!window) return 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i]->window == window) return static_cast<int>(i + 1);
    }
    return 0;
}

int AddForm(FormSkinList& list, std::unique_ptr<FormSkin> entry) {
    list.push_back(std::move(entry));
    return static_cast<int>(list.size());
}

bool RemoveForm(FormSkinList& list, int index) {
    if (index < 1 || index > static_cast<int>(list.size())) return false;
    list[index - 1]->ReleaseBackground();
    list.erase(list.begin() + (index - 1));
    // SetPropA sends no message, so renumbering windows of another thread is
    // safe while the caller holds the list's lock.
    for (std::size_t i = index - 1; i < list.size(); ++i) {
        const LONG_PTR newIndex = static_cast<LONG_PTR>(i + 1);
        FormSkin& entry = *list[i];
        SetProperty(entry.window, prop::kIndex, newIndex);
        for (std::vector<ControlRecord>* records : entry.ControlArrays()) {
            for (const ControlRecord& record : *records) SetProperty(record.window, prop::kFormIndex, newIndex);
        }
        for (const ControlRecord& record : entry.containers) {
            SetProperty(record.window, prop::kContainerFormIndex, newIndex);
        }
        for (const PanelRecord& record : entry.panels) {
            if (record.window) SetProperty(record.window, prop::kFormIndex, newIndex);
        }
    }
    return true;
}

void SetLayeredStyle(HWND window, bool clickThrough) {
    LONG_PTR style = ::GetWindowLongPtrA(window, GWL_EXSTYLE) | WS_EX_LAYERED;
    if (clickThrough) style |= WS_EX_TRANSPARENT;
    ::SetWindowLongPtrA(window, GWL_EXSTYLE, style);
}

Text ClassNameOf(HWND window) {
    char name[255] = {};
    int length = ::GetClassNameA(window, name, sizeof name);
    return Text(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

WNDPROC SubclassWindow(HWND window, WNDPROC procedure) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    SetProperty(window, prop::kPreviousProc, reinterpret_cast<LONG_PTR>(previous));
    return previous;
}
