// A library planted beside the updater under the name of a system library.
// Whenever a process runs its code it leaves name.dll.loaded beside itself
// (in lower case: the loader reports the name as the importer spelled it),
// then refuses to be loaded.
#include <windows.h>

#include <cctype>
#include <string>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char path[MAX_PATH * 2] = {};
    DWORD length = ::GetModuleFileNameA(self, path, sizeof path);
    if (length > 0 && length < sizeof path) {
        std::string marker(path, length);
        for (size_t i = marker.find_last_of('\\') + 1; i < marker.size(); ++i) {
            marker[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(marker[i])));
        }
        marker += ".loaded";
        HANDLE file = ::CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    }
    return FALSE;
}
