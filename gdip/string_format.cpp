#include "gdip/string_format.h"

#include "gdip/gdip_api.h"

using namespace Gdiplus;

GdipStringFormat GdipStringFormat::Clone() const {
    GdipStringFormat copy;
    copy.ShareFrom(*this);
    return copy;
}

bool GdipStringFormat::DeleteStringFormat() { return DeleteWith(pGdipDeleteStringFormat); }

bool GdipStringFormat::CreateStringFormat(int flags, LANGID language) {
    GpStringFormat* created = nullptr;
    return AdoptCreated(pGdipCreateStringFormat(flags, language, &created), created);
}

bool GdipStringFormat::StringFormatGetGenericDefault() {
    GpStringFormat* created = nullptr;
    return AdoptCreated(pGdipStringFormatGetGenericDefault(&created), created);
}

bool GdipStringFormat::StringFormatGetGenericTypographic() {
    GpStringFormat* created = nullptr;
    return AdoptCreated(pGdipStringFormatGetGenericTypographic(&created), created);
}

GdipStringFormat GdipStringFormat::CloneStringFormat() const {
    GdipStringFormat copy;
    GpStringFormat* created = nullptr;
    copy.AdoptCreated(pGdipCloneStringFormat(Get(), &created), created);
    return copy;
}

bool GdipStringFormat::SetStringFormatFlags(int flags) {
    return RecordGdipStatus(pGdipSetStringFormatFlags(Get(), flags));
}

int GdipStringFormat::GetStringFormatFlags() const {
    INT flags = 0;
    RecordGdipStatus(pGdipGetStringFormatFlags(Get(), &flags));
    return flags;
}

bool GdipStringFormat::SetStringFormatAlign(int align) {
    return RecordGdipStatus(pGdipSetStringFormatAlign(Get(), static_cast<StringAlignment>(align)));
}

int GdipStringFormat::GetStringFormatAlign() const {
    StringAlignment align = StringAlignmentNear;
    RecordGdipStatus(pGdipGetStringFormatAlign(Get(), &align));
    return static_cast<int>(align);
}

bool GdipStringFormat::SetStringFormatLineAlign(int align) {
    return RecordGdipStatus(pGdipSetStringFormatLineAlign(Get(), static_cast<StringAlignment>(align)));
}

int GdipStringFormat::GetStringFormatLineAlign() const {
    StringAlignment align = StringAlignmentNear;
    RecordGdipStatus(pGdipGetStringFormatLineAlign(Get(), &align));
    return static_cast<int>(align);
}

bool GdipStringFormat::SetStringFormatTrimming(int trimming) {
    return RecordGdipStatus(pGdipSetStringFormatTrimming(Get(), static_cast<StringTrimming>(trimming)));
}

int GdipStringFormat::GetStringFormatTrimming() const {
    StringTrimming trimming = StringTrimmingNone;
    RecordGdipStatus(pGdipGetStringFormatTrimming(Get(), &trimming));
    return static_cast<int>(trimming);
}

bool GdipStringFormat::SetStringFormatHotkeyPrefix(int prefix) {
    return RecordGdipStatus(pGdipSetStringFormatHotkeyPrefix(Get(), prefix));
}

int GdipStringFormat::GetStringFormatHotkeyPrefix() const {
    INT prefix = 0;
    RecordGdipStatus(pGdipGetStringFormatHotkeyPrefix(Get(), &prefix));
    return prefix;
}
