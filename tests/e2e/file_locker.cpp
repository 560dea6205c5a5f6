// Holds a file open without sharing for a while, as another program would.
//   file_locker.exe PATH MILLISECONDS
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    HANDLE file = ::CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::puts("locked");
    std::fflush(stdout);
    ::Sleep(static_cast<DWORD>(std::atoi(argv[2])));
    ::CloseHandle(file);
    return 0;
}
