#include "runtime/config.h"

#include <windows.h>

#include <vector>

namespace {

Text SkipLeadingControls(const Text& text) {
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= 0x20) ++i;
    return text.substr(i);
}

}  // namespace

Text ReadIniItem(const Text& file, const Text& section, const Text& key, const Text& defaultValue) {
    Text fileName = SkipLeadingControls(file);
    Text sectionName = SkipLeadingControls(section);
    Text keyName = SkipLeadingControls(key);
    if (fileName.empty() || sectionName.empty() || keyName.empty()) return Text();
    std::vector<char> buffer(10240);
    DWORD length = ::GetPrivateProfileStringA(sectionName.c_str(), keyName.c_str(),
                                              defaultValue.c_str(), buffer.data(),
                                              static_cast<DWORD>(buffer.size()), fileName.c_str());
    return Text(buffer.data(), length);
}

Text ReadEnvVar(const Text& name) {
    if (name.empty()) return Text();
    // The wide call, converted back: Wine's A variant reports the size in
    // characters, not bytes, so a double-byte value would come back cut.
    int wideLength = ::MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wideName(static_cast<size_t>(wideLength));
    ::MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wideName.data(), wideLength);
    DWORD needed = ::GetEnvironmentVariableW(wideName.data(), nullptr, 0);
    if (needed == 0) return Text();
    std::vector<wchar_t> value(needed);
    DWORD length = ::GetEnvironmentVariableW(wideName.data(), value.data(), needed);
    if (length == 0 || length >= needed) return Text();
    int bytes = ::WideCharToMultiByte(CP_ACP, 0, value.data(), static_cast<int>(length), nullptr, 0,
                                      nullptr, nullptr);
    Text result(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, value.data(), static_cast<int>(length), result.data(), bytes,
                          nullptr, nullptr);
    return result;
}
