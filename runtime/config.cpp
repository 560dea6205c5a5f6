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
    DWORD needed = ::GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (needed == 0) return Text();
    std::vector<char> buffer(needed);
    DWORD length = ::GetEnvironmentVariableA(name.c_str(), buffer.data(), needed);
    return length < needed ? Text(buffer.data(), length) : Text();
}
