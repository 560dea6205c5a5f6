#include "skin/window/skin_engine.h"

#include "runtime/gdiplus_session.h"

namespace {

// Average colour of an image is derived by the background painter, which the
// form skin brings; until then a background without an explicit base colour
// keeps the current one.
std::optional<COLORREF> DerivedBaseColour(const ByteArray&) { return std::nullopt; }

}  // namespace

SkinEngine::SkinEngine(HICON appIcon) : appIcon_(appIcon) {
    settings_.backColour = ::GetSysColor(COLOR_BTNFACE);
}

SkinEngine::~SkinEngine() {
    if (appIcon_) ::DestroyIcon(appIcon_);
    StopGdiplus();
}

void SkinEngine::SetBackground(const Text& fileName, const ByteArray& image,
                               std::optional<COLORREF> baseColour,
                               std::optional<int> accentColour, int mode) {
    ByteArray source = image;
    if (!fileName.empty()) {
        source.clear();
        HANDLE file = ::CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            LARGE_INTEGER size{};
            if (::GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1 << 28)) {
                source.resize(static_cast<size_t>(size.QuadPart));
                DWORD read = 0;
                if (!::ReadFile(file, source.data(), static_cast<DWORD>(source.size()), &read, nullptr)) {
                    read = 0;
                }
                source.resize(read);
            }
            ::CloseHandle(file);
        }
    }
    std::lock_guard<std::mutex> guard(lock_);
    std::optional<COLORREF> derived = baseColour ? baseColour : DerivedBaseColour(source);
    if (!accentColour) {
        settings_.accentColour = kDefaultAccentColour;
    } else if (*accentColour == -1) {
        settings_.accentColour = derived.value_or(settings_.backColour);
    } else {
        settings_.accentColour = static_cast<COLORREF>(*accentColour);
    }
    if (source.empty()) return;
    if (derived) settings_.backColour = *derived;
    settings_.backMode = mode;
    settings_.backImage = source;
}

void SkinEngine::SetOptions(int skinControls, std::optional<int> controlBackAlpha,
                            std::optional<int> trackOption) {
    std::lock_guard<std::mutex> guard(lock_);
    settings_.skinControls = skinControls;
    settings_.controlBackAlpha = controlBackAlpha.value_or(160);
    settings_.controlBackAlphaSet = controlBackAlpha ? 1 : 0;
    settings_.trackOption = trackOption.value_or(1);
}

ULONG_PTR SkinEngine::GdiplusToken() const { return DefaultGdiplusToken(); }

bool SkinEngine::AttachForm(HWND, const FormOptions&, const ByteArray&) { return false; }
