#include "runtime/external_function.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "runtime/fatal.h"
#include "runtime/library_search.h"

namespace {

struct LibraryTable {
    std::mutex lock;
    std::map<std::string, HMODULE> loaded;  // by the name the entries use
};

LibraryTable& Libraries() {
    static LibraryTable* table = new LibraryTable;  // outlives static destruction
    return *table;
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
            module = LoadSystemLibrary(library);
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
