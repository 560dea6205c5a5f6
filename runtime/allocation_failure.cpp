#include "runtime/allocation_failure.h"

#include <atomic>
#include <cstdlib>
#include <string>

#include "runtime/fatal.h"

namespace {

thread_local std::size_t tRefusedBytes = 0;
std::atomic<bool> gReporting{false};

void OnAllocationFailure() { AllocationFailed(tRefusedBytes); }

}  // namespace

void InstallAllocationFailureHandler() { std::set_new_handler(&OnAllocationFailure); }

std::size_t LastRefusedAllocation() { return tRefusedBytes; }

void AllocationFailed(std::size_t bytes) {
    // Building the message allocates too; a second failure on the way ends
    // the process without the box rather than recursing.
    if (gReporting.exchange(true)) std::_Exit(-1);
    FatalRuntimeError("分配 " + std::to_string(bytes) + " 字节内存失败!");
}

// The program's allocation functions: the same as the library's, except that
// the new-handler learns the size that was refused. The library's delete
// frees with free(), which matches.
void* operator new(std::size_t size) {
    if (size == 0) size = 1;
    for (;;) {
        if (void* block = std::malloc(size)) return block;
        std::new_handler handler = std::get_new_handler();
        tRefusedBytes = size;
        if (!handler) throw std::bad_alloc();
        handler();
    }
}

void* operator new[](std::size_t size) { return ::operator new(size); }

// Callers of the nothrow forms check for null themselves.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
