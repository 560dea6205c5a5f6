#include "app/working_set_trimmer.h"

#include <shlwapi.h>

#include <atomic>
#include <mutex>

#include "runtime/allocation_failure.h"

namespace {

std::mutex gTrimming;
std::atomic<long> gTrims{0};

}  // namespace

DWORD WINAPI WorkingSetTrimmer(void*) {
    return StopAllocationFailure([] {
        std::lock_guard<std::mutex> guard(gTrimming);
        // Emptied directly: no helper program is written or run. A refusal
        // is silent, as nothing depends on the trim.
        ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
        ++gTrims;
        return DWORD{0};
    });
}

void StartWorkingSetTrimmer() { ::SHCreateThread(WorkingSetTrimmer, nullptr, 0, nullptr); }

long WorkingSetTrims() { return gTrims.load(); }
