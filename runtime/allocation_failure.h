// Running out of memory ends the program through the runtime's fatal error
// ("分配 N 字节内存失败!", exit code -1) instead of an unhandled std::bad_alloc.
// The program's operator new records the size it was asked for and calls the
// new-handler installed here; thread entries and window procedures stop a
// bad_alloc that still escapes (nothing throws across them).
#pragma once

#include <cstddef>
#include <new>

// Installs the new-handler that raises the fatal error (InitialiseRuntime).
void InstallAllocationFailureHandler();

// The size of the last allocation this thread could not get (0 if unknown).
std::size_t LastRefusedAllocation();

[[noreturn]] void AllocationFailed(std::size_t bytes);

// Runs body and turns an escaping std::bad_alloc into the fatal error.
template <typename Body>
auto StopAllocationFailure(Body&& body) -> decltype(body()) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        AllocationFailed(LastRefusedAllocation());
    }
}
