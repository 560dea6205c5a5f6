// Download throughput: RangedDownload with the statistics written into a real
// main window, against a bare WinINet loop with the same 10,240-byte reads and
// no progress, in the same run. Prints the median MB/s of each and the ratio.
//   download_bench.exe URL OUTPUT_PATH [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/download.h"
#include "app/main_form.h"
#include "app/transfer_stats.h"
#include "net/wininet_api.h"
#include "runtime/files.h"
#include "runtime/program.h"
#include "runtime/win_handles.h"

namespace {

double Now() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The reference: the same reads and writes with nothing else.
bool BareLoop(const char* url, const char* path) {
    InternetHandle internet(pInternetOpenA("bench", INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY, nullptr, nullptr, 0));
    InternetHandle request(pInternetOpenUrlA(internet.Get(), url, nullptr, 0, 0x84000100, 0));
    FileHandle file(::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!request || !file) return false;
    std::vector<char> buffer(10240);
    DWORD read = 0;
    for (;;) {
        if (!pInternetReadFile(request.Get(), buffer.data(), 10240, &read)) return false;
        if (read == 0) return true;
        DWORD written = 0;
        if (!::WriteFile(file.Get(), buffer.data(), read, &written, nullptr)) return false;
    }
}

enum class Method { kBare, kSilent, kWithStatistics };

struct Job {
    Method method;
    const char* url;
    const char* path;
    double seconds;
    bool ok;
};

DWORD WINAPI DownloadThread(LPVOID parameter) {
    auto* job = static_cast<Job*>(parameter);
    const double start = Now();
    switch (job->method) {
        case Method::kBare:
            job->ok = BareLoop(job->url, job->path);
            break;
        case Method::kSilent:
            job->ok = RangedDownload(job->url, job->path, nullptr) == 0;
            break;
        case Method::kWithStatistics:
            job->ok = RangedDownload(job->url, job->path, TransferStats) == 0;
            break;
    }
    job->seconds = Now() - start;
    return 0;
}

// Every method runs on a worker while this thread serves the window, as the
// updater does, so they differ only in what the worker does. -1 on failure.
double Measure(Method method, const char* url, const char* path) {
    Job job{method, url, path, 0, false};
    KernelHandle worker(::CreateThread(nullptr, 0, DownloadThread, &job, 0, nullptr));
    if (!worker) return -1;
    for (;;) {
        HANDLE waited = worker.Get();
        DWORD wait = ::MsgWaitForMultipleObjects(1, &waited, FALSE, INFINITE, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0) break;
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    }
    return job.ok ? job.seconds : -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

// Each round runs the three downloads, in an order that turns from round to
// round so none of them always runs first or after the same neighbour; the
// median of the rounds is reported.
int main(int argc, char** argv) {
    if (argc < 3) return 2;
    InitialiseRuntime();
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    LoadMainFormWithoutEvents(nullptr);
    SetTransferFileName("Norvane");
    std::vector<double> seconds[3];
    for (int i = 0; i < rounds; ++i) {
        for (int k = 0; k < 3; ++k) {
            const int method = (i + k) % 3;
            const double taken = Measure(static_cast<Method>(method), argv[1], argv[2]);
            if (taken < 0) {
                std::puts("download failed");
                return 1;
            }
            seconds[method].push_back(taken);
        }
    }
    const double bare = Median(seconds[0]), silent = Median(seconds[1]), ours = Median(seconds[2]);
    const double megabytes = static_cast<double>(FileSize64(argv[2])) / 1e6;
    std::printf("rounds: %d (median)\n", rounds);
    std::printf("bare WinINet loop: %.1f MB/s\n", megabytes / bare);
    std::printf("RangedDownload without progress: %.1f MB/s\n", megabytes / silent);
    std::printf("RangedDownload + TransferStats into the window: %.1f MB/s\n", megabytes / ours);
    std::printf("ours / bare WinINet: %.2f\n", bare / ours);
    std::fflush(stdout);
    ExitProcess(0);
}
