// String format wrapper: alignment, trimming and flags of drawn text.
#pragma once

#include "gdip/gdip_object.h"

class GdipStringFormat : public GdipObject<GdipStringFormatTraits> {
public:
    GdipStringFormat() = default;
    GdipStringFormat(GdipStringFormat&&) noexcept = default;
    ~GdipStringFormat() override { Destroy(); }

    void Destroy() { DeleteStringFormat(); }
    GdipStringFormat Clone() const;

    bool DeleteStringFormat();
    bool CreateStringFormat(int flags = 0, LANGID language = LANG_NEUTRAL);
    bool StringFormatGetGenericDefault();
    bool StringFormatGetGenericTypographic();
    GdipStringFormat CloneStringFormat() const;
    bool SetStringFormatFlags(int flags);
    int GetStringFormatFlags() const;
    // 0 near, 1 centre, 2 far.
    bool SetStringFormatAlign(int align);
    int GetStringFormatAlign() const;
    bool SetStringFormatLineAlign(int align);
    int GetStringFormatLineAlign() const;
    // 0 none ... 3 ellipsis character ... 5 path ellipsis.
    bool SetStringFormatTrimming(int trimming);
    int GetStringFormatTrimming() const;
    bool SetStringFormatHotkeyPrefix(int prefix);
    int GetStringFormatHotkeyPrefix() const;
};
