// Start-up time of the updater to its skinned main window shown (manifest
// from the local server), against two references taken in turns in the same
// run: a bare program that shows an unskinned window of the same size, and
// that program also loading and starting the system libraries the updater
// uses. Prints medians and both ratios.
//   startup_bench.exe UPDATER_DIR BARE_EXE BARE_LIBRARIES_EXE [ROUNDS, default 7]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Now() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Search {
    DWORD processId;
    bool needSkin;
    HWND found;
};

BOOL CALLBACK FindShown(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !::IsWindowVisible(window)) return TRUE;
    // The skin marks its form with its index once attached.
    if (search->needSkin && !::GetPropA(window, "Hw_lbID")) return TRUE;
    search->found = window;
    return FALSE;
}

// Seconds from CreateProcess to a shown top-level window; < 0 on failure.
double TimeToWindow(const std::string& commandLine, const std::string& directory, bool needSkin) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string command = commandLine;
    const double start = Now();
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
        std::fprintf(stderr, "startup_bench: cannot start %s (error %lu)\n", commandLine.c_str(), ::GetLastError());
        return -1;
    }
    double elapsed = -1;
    Search search{process.dwProcessId, needSkin, nullptr};
    while (Now() - start < 30) {
        ::EnumWindows(&FindShown, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            elapsed = Now() - start;
            break;
        }
        if (::WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 5000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (elapsed < 0) std::fprintf(stderr, "startup_bench: no window from %s\n", commandLine.c_str());
    return elapsed;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_bench UPDATER_DIR BARE_EXE BARE_LIBRARIES_EXE [ROUNDS]\n");
        return 2;
    }
    const std::string updaterDir = argv[1];
    const std::string bare = argv[2];
    const std::string bareLibraries = argv[3];
    const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 7;
    std::vector<double> times[3];  // updater, bare window, bare window with the libraries
    for (int r = 0; r < rounds; ++r) {
        // Turn which one goes first, so warm caches favour none.
        for (int turn = 0; turn < 3; ++turn) {
            const int which = (r + turn) % 3;
            const double t = which == 0 ? TimeToWindow("\"" + updaterDir + "\\updater.exe\"", updaterDir, true)
                                        : TimeToWindow("\"" + (which == 1 ? bare : bareLibraries) + "\"", "", false);
            if (t < 0) return 1;
            times[which].push_back(t);
        }
    }
    const double o = Median(times[0]), b = Median(times[1]), l = Median(times[2]);
    std::printf("bare window shown:                 %7.1f ms (median of %d)\n", b * 1e3, rounds);
    std::printf("bare window with the libraries:    %7.1f ms\n", l * 1e3);
    std::printf("updater skinned window shown:      %7.1f ms = %.2f x bare window, %.2f x with the same libraries"
                " (target <= 1.3)\n",
                o * 1e3, o / b, o / l);
    return 0;
}
