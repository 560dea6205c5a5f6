#include "skin/model/scaled_fonts.h"

#include <cstring>
#include <mutex>
#include <vector>


namespace {

struct ScaledFont {
    HFONT originFont = nullptr;  // the font it was scaled from
    LOGFONTA origin{};
    int originDpi = 0;
    int dpi = 0;
    HFONT font = nullptr;
};

std::mutex gLock;
// Never destroyed: a window may still hold one of these fonts when the
// process ends.
std::vector<ScaledFont>& Fonts() {
    static auto* fonts = new std::vector<ScaledFont>();
    return *fonts;
}

bool SameFont(const LOGFONTA& a, const LOGFONTA& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

HFONT FontAtDpi(HFONT font, int fontDpi, int dpi) {
    if (!font || fontDpi <= 0 || dpi <= 0 || fontDpi == dpi) return font;
    std::lock_guard<std::mutex> guard(gLock);
    HFONT originFont = font;
    LOGFONTA origin{};
    int originDpi = fontDpi;
    bool found = false;
    for (const ScaledFont& made : Fonts()) {
        if (made.font == font) {
            originFont = made.originFont;
            origin = made.origin;
            originDpi = made.originDpi;
            found = true;
            break;
        }
    }
    if (!found && ::GetObjectA(font, sizeof origin, &origin) != sizeof origin) return font;
    // Back at the DPI it came from: the font it was made from.
    if (originDpi == dpi) return originFont;
    for (const ScaledFont& made : Fonts()) {
        if (made.dpi == dpi && made.originDpi == originDpi && SameFont(made.origin, origin)) return made.font;
    }
    LOGFONTA scaled = origin;
    scaled.lfHeight = ::MulDiv(origin.lfHeight, dpi, originDpi);
    scaled.lfWidth = ::MulDiv(origin.lfWidth, dpi, originDpi);
    HFONT made = ::CreateFontIndirectA(&scaled);
    if (!made) return font;
    Fonts().push_back({originFont, origin, originDpi, dpi, made});
    return made;
}
