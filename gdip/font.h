// Font, font family and font collection wrappers.
#pragma once

#include "gdip/gdip_object.h"
#include "runtime/value_types.h"

// A font collection is never deleted; a wrapper with handle 0 stands for the
// installed fonts.
class GdipFontCollection : public GdipObject<GdipFontCollectionTraits> {
public:
    GdipFontCollection() = default;
    GdipFontCollection(GdipFontCollection&&) noexcept = default;

    void Destroy() {}
    GdipFontCollection Clone() const;
    void NativeChanged() override {}

    // The installed collection (GdipNewInstalledFontCollection).
    bool NewInstalledFontCollection();
    int GetFontCollectionFamilyCount() const;
    // GetFontCollectionFamilyCount family pointers; the collection owns them.
    ByteArray GetFontCollectionFamilyList() const;
};

class GdipFontFamily : public GdipObject<GdipFontFamilyTraits> {
public:
    GdipFontFamily() = default;
    GdipFontFamily(GdipFontFamily&&) noexcept = default;
    ~GdipFontFamily() override { Destroy(); }

    void Destroy() { DeleteFontFamily(); }
    GdipFontFamily Clone() const;

    bool DeleteFontFamily();
    // From a face name in the collection (an empty wrapper: the installed fonts).
    bool CreateFontFamilyFromName(const Text& name, const GdipFontCollection& collection = GdipFontCollection());
    bool CreateFontFamilyFromName(const ByteArray& wideName,
                                  const GdipFontCollection& collection = GdipFontCollection());
    bool GetGenericFontFamilySansSerif();
    bool GetGenericFontFamilySerif();
    bool GetGenericFontFamilyMonospace();
    GdipFontFamily CloneFontFamily() const;
    Text GetFamilyName(LANGID language = LANG_NEUTRAL) const;
    // The name as a terminated wide string.
    ByteArray GetFamilyNameWide(LANGID language = LANG_NEUTRAL) const;
    bool IsStyleAvailable(int style) const;
    int GetEmHeight(int style) const;
    int GetCellAscent(int style) const;
    int GetCellDescent(int style) const;
    int GetLineSpacing(int style) const;
};

class GdipFont : public GdipObject<GdipFontTraits> {
public:
    GdipFont() = default;
    GdipFont(GdipFont&&) noexcept = default;
    ~GdipFont() override { Destroy(); }

    void Destroy() { DeleteFont(); }
    GdipFont Clone() const;

    bool DeleteFont();
    // style: FontStyle bits (1 bold, 2 italic, 4 underline, 8 strikeout);
    // unit: 2 pixel, 3 point, ...
    bool CreateFont(const GdipFontFamily& family, float emSize, int style = 0, int unit = Gdiplus::UnitPixel);
    // The stock DEFAULT_GUI_FONT on the screen.
    bool CreateDefaultGuiFont();
    // From a face name among the installed fonts.
    bool CreateFontByName(const Text& name, float emSize, int style = 0, int unit = Gdiplus::UnitPixel);
    bool CreateFontByWideName(const ByteArray& wideName, float emSize, int style = 0,
                              int unit = Gdiplus::UnitPixel);
    bool CreateFontFromDC(HDC dc);
    // From a GDI font (its LOGFONTA); without one, from the DC's font.
    bool CreateFontFromHfont(HDC dc, HFONT font);
    bool CreateFontFromLogfontA(HDC dc, const LOGFONTA& logFont);
    bool CreateFontFromLogfontW(HDC dc, const LOGFONTW& logFont);
    GdipFont CloneFont() const;
    LOGFONTA GetLogFontA(const GdipGraphicsObject& graphics) const;
    LOGFONTW GetLogFontW(const GdipGraphicsObject& graphics) const;
    // The font's family, owned by `family` afterwards.
    bool GetFamily(GdipFontFamily& family) const;
    int GetFontStyle() const;
    float GetFontSize() const;
    int GetFontUnit() const;
    float GetFontHeight(const GdipGraphicsObject& graphics) const;
    float GetFontHeightGivenDPI(float dpi) const;
};
