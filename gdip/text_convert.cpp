#include "gdip/text_convert.h"

#include <windows.h>

#include "runtime/bytes.h"
#include "runtime/text.h"

ByteArray ToWide(const Text& text) {
    if (text.empty()) return ByteArray();
    int count = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (count <= 0) return ByteArray();
    ByteArray wide = ZeroBytes(count * 2);
    // Without the terminator: the last wide character stays 0.
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                          reinterpret_cast<wchar_t*>(wide.data()), count);
    return wide;
}

const wchar_t* WidePointer(const ByteArray& wide) {
    return wide.empty() ? nullptr : reinterpret_cast<const wchar_t*>(wide.data());
}

int WideLength(const ByteArray& wide) { return wide.empty() ? 0 : ::lstrlenW(WidePointer(wide)); }

Text FromWide(const wchar_t* wide) {
    if (!wide) return Text();
    int size = ::WideCharToMultiByte(CP_OEMCP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return Text();
    Text text = SpaceText(size);
    ::WideCharToMultiByte(CP_OEMCP, 0, wide, -1, text.data(), size, nullptr, nullptr);
    return Text(text.c_str());
}
