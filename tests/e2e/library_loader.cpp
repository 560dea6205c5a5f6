// Loads libraries by name through the system's ordinary search, which looks in
// the program's directory first: what a program without a restricted search
// does. Exit code: how many of them could not be loaded.
//   library_loader.exe NAME...
#include <windows.h>

int main(int argc, char** argv) {
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        if (!::LoadLibraryA(argv[i])) ++failed;
    }
    return failed;
}
