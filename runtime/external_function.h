// Typed entries of the external function table: a library and a function
// (by name, or "#" + ordinal) bound on the first call and kept for the life of
// the process; libraries are never unloaded, as another thread may still be
// inside one when the program ends. A library is looked for in the system
// directory only (LoadSystemLibrary), never beside the program; a name that is
// an absolute path is loaded from that path. A missing library or function
// ends the program with the runtime's fatal error.
//
//   inline ExternalFunction<decltype(::InternetOpenA)> pInternetOpenA{"wininet.dll", "InternetOpenA"};
//   HINTERNET h = pInternetOpenA(agent, type, nullptr, nullptr, 0);
#pragma once

#include <windows.h>

#include <atomic>
#include <type_traits>
#include <utility>

// Returns the bound address; never returns on failure (fatal error).
void* BindExternalFunction(const char* library, const char* function);

template <typename F>
class ExternalFunction {
    static_assert(std::is_function_v<F>, "ExternalFunction<decltype(::Function)>");

public:
    constexpr ExternalFunction(const char* library, const char* function)
        : library_(library), function_(function) {}

    template <typename... Args>
    decltype(auto) operator()(Args&&... args) const {
        return Bound()(std::forward<Args>(args)...);
    }

    F* Bound() const {
        void* address = address_.load(std::memory_order_acquire);
        if (!address) {
            address = BindExternalFunction(library_, function_);
            address_.store(address, std::memory_order_release);
        }
        return reinterpret_cast<F*>(address);
    }

private:
    const char* library_;
    const char* function_;
    mutable std::atomic<void*> address_{nullptr};
};
