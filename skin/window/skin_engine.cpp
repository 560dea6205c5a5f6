#include "skin/window/skin_engine.h"

#include "runtime/files.h"
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
    appIcon_.Reset();
    StopGdiplus();
}

void SkinEngine::SetBackground(const Text& fileName, const ByteArray& image,
                               std::optional<COLORREF> baseColour,
                               std::optional<int> accentColour, int mode) {
    const ByteArray source = fileName.empty() ? image : ReadBytesFromFile(fileName);
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
