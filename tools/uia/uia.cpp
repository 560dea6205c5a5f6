// Answers message boxes from outside: waits for a #32770 window with the
// caption, prints its texts, and presses a button by id.
//   uia.exe wait CAPTION [TIMEOUT_MS]         prints the box's text
//   uia.exe press CAPTION ID [TIMEOUT_MS]     prints the text, presses ID
// Exit code 0 when the box was found (and the button pressed), 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Search {
    const char* caption;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    char className[64] = {};
    char title[512] = {};
    ::GetClassNameA(window, className, sizeof className);
    ::GetWindowTextA(window, title, sizeof title);
    if (std::string(className) == "#32770" && std::string(title) == search->caption &&
        ::IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectText(HWND child, LPARAM lParam) {
    char className[64] = {};
    ::GetClassNameA(child, className, sizeof className);
    // The icon is a Static too (id 20 on Windows, 1088 under Wine): skip by style.
    if (std::string(className) == "Static" && !(::GetWindowLongA(child, GWL_STYLE) & SS_ICON)) {
        char text[4096] = {};
        ::GetWindowTextA(child, text, sizeof text);
        *reinterpret_cast<std::string*>(lParam) += text;
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: uia wait|press CAPTION [ID] [TIMEOUT_MS]\n");
        return 2;
    }
    const std::string command = argv[1];
    const bool press = command == "press";
    if (press && argc < 4) return 2;
    const int id = press ? std::atoi(argv[3]) : 0;
    const int timeoutArg = press ? 4 : 3;
    const DWORD timeout = argc > timeoutArg ? static_cast<DWORD>(std::atoi(argv[timeoutArg])) : 30000;

    Search search{argv[2], nullptr};
    const DWORD start = ::GetTickCount();
    while (!search.found) {
        ::EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
        if (search.found) break;
        if (::GetTickCount() - start > timeout) return 1;
        ::Sleep(50);
    }
    ::Sleep(100);  // let the box finish its own set-up
    std::string text;
    ::EnumChildWindows(search.found, CollectText, reinterpret_cast<LPARAM>(&text));
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    if (press) {
        HWND button = ::GetDlgItem(search.found, id);
        if (!button) return 1;
        ::PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    return 0;
}
