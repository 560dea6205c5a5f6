// Download throughput: RangedDownload with the statistics written into a real
// main window, against a bare WinINet loop with the same 10,240-byte reads and
// no progress, in the same run. Prints MB/s of both and the ratio.
//   download_bench.exe URL OUTPUT_PATH [ROUNDS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/download.h"
#include "app/main_form.h"
#include "app/transfer_stats.h"
#include "net/wininet_api.h"
#include "runtime/files.h"
#include "runtime/program.h"

namespace {

struct Job {
    const char* url;
    const char* path;
    double seconds;
    int result;
};

double Now() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

ProgressProcedure gProgress = TransferStats;

DWORD WINAPI OursThread(LPVOID parameter) {
    auto* job = static_cast<Job*>(parameter);
    double start = Now();
    job->result = RangedDownload(job->url, job->path, gProgress);
    job->seconds = Now() - start;
    return 0;
}

double BareLoop(const char* url, const char* path) {
    double start = Now();
    InternetHandle internet(pInternetOpenA("bench", INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY, nullptr, nullptr, 0));
    InternetHandle request(pInternetOpenUrlA(internet.Get(), url, nullptr, 0, 0x84000100, 0));
    HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::vector<char> buffer(10240);
    DWORD read = 0;
    while (pInternetReadFile(request.Get(), buffer.data(), 10240, &read) && read) {
        DWORD written = 0;
        ::WriteFile(file, buffer.data(), read, &written, nullptr);
    }
    ::CloseHandle(file);
    return Now() - start;
}

// Runs the download on a worker while this thread serves the window, as the
// updater does.
double Ours(const char* url, const char* path) {
    Job job{url, path, 0, -1};
    HANDLE worker = ::CreateThread(nullptr, 0, OursThread, &job, 0, nullptr);
    for (;;) {
        DWORD wait = ::MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0) break;
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    }
    ::CloseHandle(worker);
    return job.result == 0 ? job.seconds : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    InitialiseRuntime();
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    LoadMainFormWithoutEvents(nullptr);
    SetTransferFileName("Norvane");
    double bestOurs = 1e9, bestBare = 1e9, bestSilent = 1e9;
    for (int i = 0; i < rounds; ++i) {
        double bare = BareLoop(argv[1], argv[2]);
        gProgress = nullptr;
        double silent = Ours(argv[1], argv[2]);
        gProgress = TransferStats;
        double ours = Ours(argv[1], argv[2]);
        if (silent > 0 && silent < bestSilent) bestSilent = silent;
        if (ours < 0) {
            std::puts("download failed");
            return 1;
        }
        if (bare < bestBare) bestBare = bare;
        if (ours < bestOurs) bestOurs = ours;
    }
    const double megabytes = static_cast<double>(FileSize64(argv[2])) / 1e6;
    std::printf("bare WinINet loop: %.1f MB/s\n", megabytes / bestBare);
    std::printf("RangedDownload without progress: %.1f MB/s\n", megabytes / bestSilent);
    std::printf("RangedDownload + TransferStats into the window: %.1f MB/s\n", megabytes / bestOurs);
    std::printf("ours / bare WinINet: %.2f\n", bestBare / bestOurs);
    std::fflush(stdout);
    ExitProcess(0);
}
