// Start-up time of the updater to its skinned main window shown (manifest
// from the local server), against a bare program that shows an unskinned
// window of the same size, alternated in one run. Prints medians and the ratio.
//   startup_bench.exe UPDATER_DIR BARE_EXE [ROUNDS, default 7]
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
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench UPDATER_DIR BARE_EXE [ROUNDS]\n");
        return 2;
    }
    const std::string updaterDir = argv[1];
    const std::string bare = argv[2];
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
    std::vector<double> ours, reference;
    for (int r = 0; r < rounds; ++r) {
        // Alternate which one goes first, so warm caches favour neither.
        for (int turn = 0; turn < 2; ++turn) {
            const bool updaterTurn = (r + turn) % 2 == 0;
            const double t = updaterTurn
                                 ? TimeToWindow("\"" + updaterDir + "\\updater.exe\"", updaterDir, true)
                                 : TimeToWindow("\"" + bare + "\"", "", false);
            if (t < 0) return 1;
            (updaterTurn ? ours : reference).push_back(t);
        }
    }
    const double o = Median(ours), b = Median(reference);
    std::printf("bare window shown:            %7.1f ms (median of %d)\n", b * 1e3, rounds);
    std::printf("updater skinned window shown: %7.1f ms = %.2f x bare (target <= 1.5)\n", o * 1e3, o / b);
    return 0;
}
