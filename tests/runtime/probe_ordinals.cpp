// A library whose one function is exported by ordinal only (see the .def).
#include <windows.h>

extern "C" DWORD WINAPI ProbeAnswer() { return 4242; }
