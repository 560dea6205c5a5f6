#include "runtime/external_function.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "runtime/fatal.h"

namespace {

struct LibraryTable {
    std::mutex lock;
    std::map<std::string, HMODULE> loaded;  // by the name the entries use
};

LibraryTable& Libraries() {
    static LibraryTable* table = new LibraryTable;  // outlives static destruction
    return *table;
}

std::string ModuleDirectory() {
    char path[MAX_PATH * 2] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string full(path, n);
    size_t slash = full.find_last_of('\\');
    return slash == std::string::npos ? std::string() : full.substr(0, slash);
}

HMODULE LoadFromProgramDirectoryFirst(const std::string& name) {
    if (name.find(':') == std::string::npos) {
        std::string local = ModuleDirectory() + "\\" + name;
        if (::GetFileAttributesA(local.c_str()) != INVALID_FILE_ATTRIBUTES) {
            if (HMODULE module = ::LoadLibraryA(local.c_str())) return module;
        }
    }
    return ::LoadLibraryA(name.c_str());
}

[[noreturn]] void CannotBind(const char* library, const char* function) {
    char message[1024];
    std::snprintf(message, sizeof message, "无法找到指定DLL库文件“%s”中的输出命令“%s”", library,
                  function);
    FatalRuntimeError(message);
}

}  // namespace

void* BindExternalFunction(const char* library, const char* function) {
    HMODULE module = nullptr;
    {
        LibraryTable& table = Libraries();
        std::lock_guard<std::mutex> guard(table.lock);
        auto found = table.loaded.find(library);
        if (found != table.loaded.end()) {
            module = found->second;
        } else {
            module = LoadFromProgramDirectoryFirst(library);
            if (module) table.loaded.emplace(library, module);
        }
    }
    if (!module) CannotBind(library, function);

    // "#123" names a function by ordinal.
    const char* procName = function;
    if (function[0] == '#') {
        procName = reinterpret_cast<const char*>(static_cast<ULONG_PTR>(std::atoi(function + 1)));
    }
    FARPROC address = ::GetProcAddress(module, procName);
    if (!address) CannotBind(library, function);
    return reinterpret_cast<void*>(address);
}
