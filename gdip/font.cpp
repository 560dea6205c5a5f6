#include "gdip/font.h"

#include "gdip/gdip_api.h"
#include "gdip/text_convert.h"
#include "runtime/bytes.h"

using namespace Gdiplus;

// ---- collection

GdipFontCollection GdipFontCollection::Clone() const {
    GdipFontCollection copy;
    copy.ShareFrom(*this);
    return copy;
}

bool GdipFontCollection::NewInstalledFontCollection() {
    GpFontCollection* created = nullptr;
    return AdoptCreated(pGdipNewInstalledFontCollection(&created), created);
}

int GdipFontCollection::GetFontCollectionFamilyCount() const {
    INT count = 0;
    RecordGdipStatus(pGdipGetFontCollectionFamilyCount(Get(), &count));
    return count;
}

ByteArray GdipFontCollection::GetFontCollectionFamilyList() const {
    INT count = GetFontCollectionFamilyCount();
    if (count <= 0) return ByteArray();
    ByteArray list = ZeroBytes(count * static_cast<int>(sizeof(GpFontFamily*)));
    INT found = 0;
    RecordGdipStatus(
        pGdipGetFontCollectionFamilyList(Get(), count, reinterpret_cast<GpFontFamily**>(list.data()), &found));
    return list;
}

// ---- family

GdipFontFamily GdipFontFamily::Clone() const {
    GdipFontFamily copy;
    copy.ShareFrom(*this);
    return copy;
}

bool GdipFontFamily::DeleteFontFamily() { return DeleteWith(pGdipDeleteFontFamily); }

bool GdipFontFamily::CreateFontFamilyFromName(const Text& name, const GdipFontCollection& collection) {
    return CreateFontFamilyFromName(ToWide(name), collection);
}

bool GdipFontFamily::CreateFontFamilyFromName(const ByteArray& wideName, const GdipFontCollection& collection) {
    GpFontFamily* created = nullptr;
    return AdoptCreated(pGdipCreateFontFamilyFromName(WidePointer(wideName), collection.Get(), &created), created);
}

bool GdipFontFamily::GetGenericFontFamilySansSerif() {
    GpFontFamily* created = nullptr;
    return AdoptCreated(pGdipGetGenericFontFamilySansSerif(&created), created);
}

bool GdipFontFamily::GetGenericFontFamilySerif() {
    GpFontFamily* created = nullptr;
    return AdoptCreated(pGdipGetGenericFontFamilySerif(&created), created);
}

bool GdipFontFamily::GetGenericFontFamilyMonospace() {
    GpFontFamily* created = nullptr;
    return AdoptCreated(pGdipGetGenericFontFamilyMonospace(&created), created);
}

GdipFontFamily GdipFontFamily::CloneFontFamily() const {
    GdipFontFamily copy;
    GpFontFamily* created = nullptr;
    copy.AdoptCreated(pGdipCloneFontFamily(Get(), &created), created);
    return copy;
}

ByteArray GdipFontFamily::GetFamilyNameWide(LANGID language) const {
    ByteArray name = ZeroBytes(LF_FACESIZE * 2);
    if (!RecordGdipStatus(pGdipGetFamilyName(Get(), reinterpret_cast<WCHAR*>(name.data()), language)))
        return ByteArray();
    return name;
}

Text GdipFontFamily::GetFamilyName(LANGID language) const {
    ByteArray name = GetFamilyNameWide(language);
    return FromWide(WidePointer(name));
}

bool GdipFontFamily::IsStyleAvailable(int style) const {
    BOOL available = FALSE;
    RecordGdipStatus(pGdipIsStyleAvailable(Get(), style, &available));
    return available != FALSE;
}

int GdipFontFamily::GetEmHeight(int style) const {
    UINT16 value = 0;
    RecordGdipStatus(pGdipGetEmHeight(Get(), style, &value));
    return value;
}

int GdipFontFamily::GetCellAscent(int style) const {
    UINT16 value = 0;
    RecordGdipStatus(pGdipGetCellAscent(Get(), style, &value));
    return value;
}

int GdipFontFamily::GetCellDescent(int style) const {
    UINT16 value = 0;
    RecordGdipStatus(pGdipGetCellDescent(Get(), style, &value));
    return value;
}

int GdipFontFamily::GetLineSpacing(int style) const {
    UINT16 value = 0;
    RecordGdipStatus(pGdipGetLineSpacing(Get(), style, &value));
    return value;
}

// ---- font

GdipFont GdipFont::Clone() const {
    GdipFont copy;
    copy.ShareFrom(*this);
    return copy;
}

bool GdipFont::DeleteFont() { return DeleteWith(pGdipDeleteFont); }

bool GdipFont::CreateFont(const GdipFontFamily& family, float emSize, int style, int unit) {
    GpFont* created = nullptr;
    return AdoptCreated(pGdipCreateFont(family.Get(), emSize, style, static_cast<Unit>(unit), &created), created);
}

bool GdipFont::CreateDefaultGuiFont() {
    HGDIOBJ stock = ::GetStockObject(DEFAULT_GUI_FONT);
    auto* logFont = static_cast<LOGFONTA*>(Alloc(sizeof(LOGFONTA)));
    if (!logFont) return false;
    if (::GetObjectA(stock, sizeof(LOGFONTA), logFont) == 0) {
        Free(logFont);
        return false;
    }
    HDC screen = ::GetDC(nullptr);
    bool ok = CreateFontFromLogfontA(screen, *logFont);
    ::ReleaseDC(nullptr, screen);
    Free(logFont);
    return ok;
}

bool GdipFont::CreateFontByName(const Text& name, float emSize, int style, int unit) {
    return CreateFontByWideName(ToWide(name), emSize, style, unit);
}

bool GdipFont::CreateFontByWideName(const ByteArray& wideName, float emSize, int style, int unit) {
    GdipFontCollection installed;
    GdipFontFamily family;
    family.CreateFontFamilyFromName(wideName, installed);
    return CreateFont(family, emSize, style, unit);
}

bool GdipFont::CreateFontFromDC(HDC dc) {
    GpFont* created = nullptr;
    return AdoptCreated(pGdipCreateFontFromDC(dc, &created), created);
}

bool GdipFont::CreateFontFromHfont(HDC dc, HFONT font) {
    LOGFONTA logFont{};
    if (font && ::GetObjectA(font, sizeof logFont, &logFont) != 0) return CreateFontFromLogfontA(dc, logFont);
    return CreateFontFromDC(dc);
}

bool GdipFont::CreateFontFromLogfontA(HDC dc, const LOGFONTA& logFont) {
    GpFont* created = nullptr;
    return AdoptCreated(pGdipCreateFontFromLogfontA(dc, &logFont, &created), created);
}

bool GdipFont::CreateFontFromLogfontW(HDC dc, const LOGFONTW& logFont) {
    GpFont* created = nullptr;
    return AdoptCreated(pGdipCreateFontFromLogfontW(dc, &logFont, &created), created);
}

GdipFont GdipFont::CloneFont() const {
    GdipFont copy;
    GpFont* created = nullptr;
    copy.AdoptCreated(pGdipCloneFont(Get(), &created), created);
    return copy;
}

LOGFONTA GdipFont::GetLogFontA(const GdipGraphicsObject& graphics) const {
    LOGFONTA logFont{};
    RecordGdipStatus(pGdipGetLogFontA(Get(), graphics.Get(), &logFont));
    return logFont;
}

LOGFONTW GdipFont::GetLogFontW(const GdipGraphicsObject& graphics) const {
    LOGFONTW logFont{};
    RecordGdipStatus(pGdipGetLogFontW(Get(), graphics.Get(), &logFont));
    return logFont;
}

bool GdipFont::GetFamily(GdipFontFamily& family) const {
    GpFontFamily* created = nullptr;
    bool ok = RecordGdipStatus(pGdipGetFamily(Get(), &created));
    family.SetHandle(reinterpret_cast<std::uintptr_t>(created));
    return ok;
}

int GdipFont::GetFontStyle() const {
    INT style = 0;
    RecordGdipStatus(pGdipGetFontStyle(Get(), &style));
    return style;
}

float GdipFont::GetFontSize() const {
    REAL size = 0;
    RecordGdipStatus(pGdipGetFontSize(Get(), &size));
    return size;
}

int GdipFont::GetFontUnit() const {
    Unit unit = UnitWorld;
    RecordGdipStatus(pGdipGetFontUnit(Get(), &unit));
    return static_cast<int>(unit);
}

float GdipFont::GetFontHeight(const GdipGraphicsObject& graphics) const {
    REAL height = 0;
    RecordGdipStatus(pGdipGetFontHeight(Get(), graphics.Get(), &height));
    return height;
}

float GdipFont::GetFontHeightGivenDPI(float dpi) const {
    REAL height = 0;
    RecordGdipStatus(pGdipGetFontHeightGivenDPI(Get(), dpi, &height));
    return height;
}
