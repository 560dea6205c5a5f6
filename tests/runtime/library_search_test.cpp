// Loading system libraries from the system directory only (under Wine).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/library_search.h"
#include "tests/support/window_probe.h"

namespace {

TEST(LibrarySearch, SystemLibrariesComeFromTheSystemDirectory) {
    EXPECT_EQ(LoadSystemLibrary("kernel32.dll"), ::GetModuleHandleA("kernel32.dll"));
    HMODULE comctl = LoadSystemLibrary("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    char path[MAX_PATH * 2] = {}, system[MAX_PATH] = {};
    ::GetModuleFileNameA(comctl, path, sizeof path);
    ::GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path, -1,
                               (std::string(system) + "\\comctl32.dll").c_str(), -1),
              CSTR_EQUAL)
        << path;
}

TEST(LibrarySearch, ALibraryBesideTheProgramIsFoundOnlyByItsFullPath) {
    const std::string beside = probe::BinDirectory() + "\\probe_ordinals.dll";
    ASSERT_NE(::GetFileAttributesA(beside.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(LoadSystemLibrary("probe_ordinals.dll"), nullptr);
    HMODULE module = LoadSystemLibrary(beside.c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_NE(::GetProcAddress(module, MAKEINTRESOURCEA(7)), nullptr);
}

}  // namespace
