#include "runtime/library_search.h"

#include <string>

namespace {

using SetDefaultDllDirectoriesFunction = BOOL WINAPI(DWORD);

bool IsAbsolutePath(const char* name) {
    return (name[0] != '\0' && name[1] == ':') || (name[0] == '\\' && name[1] == '\\');
}

}  // namespace

bool RestrictLibrarySearchToSystem() {
    // Bound at run time: a static import of it would keep the program from
    // starting on the systems that lack it.
    FARPROC address = ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    auto* setDefaultDirectories =
        reinterpret_cast<SetDefaultDllDirectoriesFunction*>(reinterpret_cast<void*>(address));
    if (setDefaultDirectories && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;
    ::SetDllDirectoryA("");
    return false;
}

HMODULE LoadSystemLibrary(const char* name) {
    if (IsAbsolutePath(name)) return ::LoadLibraryA(name);
    HMODULE module = ::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || ::GetLastError() != ERROR_INVALID_PARAMETER) return module;
    // The system does not know the search flag: name the file in the system
    // directory instead.
    char directory[MAX_PATH];
    UINT length = ::GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::string path = std::string(directory, length) + "\\" + name;
    return ::LoadLibraryA(path.c_str());
}
