// Answers message boxes from outside: waits for a #32770 window with the
// caption, prints its texts, and presses a button by id.
//   uia.exe wait CAPTION [TIMEOUT_MS]         prints the box's text
//   uia.exe press CAPTION ID [TIMEOUT_MS]     prints the text, presses ID
// Reads what a top-level window shows, from outside its process:
//   uia.exe window CLASS [TIMEOUT_MS] [PROGRAM_PATH_END]
// (only a window of a process whose program path ends so, in any case, when
// given: other tests may show a window of the same class meanwhile)
// prints "title HEX" and then one line per child window:
//   "CLASS LEFT TOP WIDTH HEIGHT STYLE_HEX TEXT_HEX [POSITION]"
// with the texts as hex bytes (byte for byte, line breaks included) and a
// progress bar's position last.
// Reports how a box is skinned, seen from outside its process:
//   uia.exe skin CAPTION [TIMEOUT_MS]
// waits for the box and then (within the same timeout) for its layered alpha
// to reach 250, and prints one line
//   "skinned 0|1 region rounded|square|none alpha N statics SKINNED TOTAL"
// skinned: the box carries Hw_hProc; region: its window region leaves the
// corners out; alpha: GetLayeredWindowAttributes (-1 when not layered);
// statics: its Static children carrying Hw_hProc, of all.
// Types keys into a box or a window as a person does: waits until it is the
// foreground window holding the keyboard focus (and, when it fades in, fully
// shown), then sends the keys with SendInput, never a mouse message:
//   uia.exe type box CAPTION KEYS [TIMEOUT_MS]
//   uia.exe type window CLASS KEYS PROGRAM_PATH_END [TIMEOUT_MS]
// KEYS: comma-separated names (tab, enter, space, esc, alt+f4); a box's text
// is printed first, as with press.
// Exit code 0 when the box or window was found (and the button pressed or the
// keys typed), 1 otherwise.
#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

struct WindowSearch {
    const char* className;
    std::string programPathEnd;  // lower case; empty matches any process
    HWND found;
};

std::string LowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool ProgramPathEndsWith(HWND window, const std::string& end) {
    if (end.empty()) return true;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return false;
    char path[MAX_PATH * 2] = {};
    DWORD size = sizeof path;
    const bool known = ::QueryFullProcessImageNameA(process, 0, path, &size) != 0;
    ::CloseHandle(process);
    const std::string program = LowerCase(std::string(path, known ? size : 0));
    return program.size() >= end.size() && program.compare(program.size() - end.size(), end.size(), end) == 0;
}

BOOL CALLBACK MatchClass(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (std::string(className) == search->className && ::IsWindowVisible(window) &&
        ProgramPathEndsWith(window, search->programPathEnd)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

constexpr UINT kAnswerWithin = 5000;

// WM_GETTEXT sent to the window: for another process's Edit control the
// stored caption is only its first text, the message gives the contents.
// The text may grow between the length and the copy (the title changes when
// a download starts): a copy that fills the buffer is taken again, larger.
std::string CurrentText(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerWithin, &length)) return {};
    std::string text(length + 64, '\0');
    for (;;) {
        DWORD_PTR copied = 0;
        if (!::SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                                   SMTO_ABORTIFHUNG, kAnswerWithin, &copied)) {
            return {};
        }
        if (copied + 2 < text.size()) {  // room left even for a two-byte character
            text.resize(copied);
            return text;
        }
        text.assign(text.size() * 2, '\0');
    }
}

std::string Hex(const std::string& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex = "-";  // never empty, so every line splits alike
    for (unsigned char byte : bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    char className[64] = {};
    ::GetClassNameA(child, className, sizeof className);
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    std::printf("%s %ld %ld %ld %ld %lx %s", className, rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top, static_cast<unsigned long>(::GetWindowLongA(child, GWL_STYLE)),
                Hex(CurrentText(child)).c_str());
    if (std::string(className) == "msctls_progress32") {
        DWORD_PTR position = 0;
        ::SendMessageTimeoutA(child, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, kAnswerWithin, &position);
        std::printf(" %lu", static_cast<unsigned long>(position));
    }
    std::printf("\n");
    return TRUE;
}

int ReadWindow(const char* className, DWORD timeout, const char* programPathEnd) {
    WindowSearch search{className, LowerCase(programPathEnd), nullptr};
    const DWORD start = ::GetTickCount();
    while (!search.found) {
        ::EnumWindows(MatchClass, reinterpret_cast<LPARAM>(&search));
        if (search.found) break;
        if (::GetTickCount() - start > timeout) return 1;
        ::Sleep(50);
    }
    std::printf("title %s\n", Hex(CurrentText(search.found)).c_str());
    ::EnumChildWindows(search.found, PrintChild, 0);
    std::fflush(stdout);
    return 0;
}

HWND WaitForBox(const char* caption, DWORD timeout) {
    Search search{caption, nullptr};
    const DWORD start = ::GetTickCount();
    while (!search.found) {
        ::EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
        if (search.found) break;
        if (::GetTickCount() - start > timeout) return nullptr;
        ::Sleep(50);
    }
    return search.found;
}

int LayeredAlpha(HWND box) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!(::GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_LAYERED)) return -1;
    if (!::GetLayeredWindowAttributes(box, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) return -1;
    return alpha;
}

const char* RegionShape(HWND box) {
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const int kind = ::GetWindowRgn(box, region);
    RECT r{};
    ::GetWindowRect(box, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const char* shape = "none";
    if (kind != ERROR && kind != NULLREGION) {
        const bool cornersOut = !::PtInRegion(region, 0, 0) && !::PtInRegion(region, w - 1, 0) &&
                                !::PtInRegion(region, 0, h - 1) && !::PtInRegion(region, w - 1, h - 1);
        shape = cornersOut && ::PtInRegion(region, w / 2, h / 2) ? "rounded" : "square";
    }
    ::DeleteObject(region);
    return shape;
}

struct StaticCount {
    int skinned = 0, total = 0;
};

BOOL CALLBACK CountStatics(HWND child, LPARAM lParam) {
    char className[64] = {};
    ::GetClassNameA(child, className, sizeof className);
    if (std::string(className) == "Static") {
        auto* count = reinterpret_cast<StaticCount*>(lParam);
        ++count->total;
        if (::GetPropA(child, "Hw_hProc")) ++count->skinned;
    }
    return TRUE;
}

int ReportSkin(const char* caption, DWORD timeout) {
    const DWORD start = ::GetTickCount();
    HWND box = WaitForBox(caption, timeout);
    if (!box) return 1;
    while (LayeredAlpha(box) != 250 && ::GetTickCount() - start < timeout && ::IsWindow(box)) ::Sleep(20);
    StaticCount statics;
    ::EnumChildWindows(box, CountStatics, reinterpret_cast<LPARAM>(&statics));
    std::printf("skinned %d region %s alpha %d statics %d %d\n", ::GetPropA(box, "Hw_hProc") ? 1 : 0,
                RegionShape(box), LayeredAlpha(box), statics.skinned, statics.total);
    std::fflush(stdout);
    return 0;
}

struct KeyStroke {
    const char* name;
    WORD modifier;  // held while the key is pressed, 0 for none
    WORD key;
};

constexpr KeyStroke kKeys[] = {
    {"tab", 0, VK_TAB},      {"enter", 0, VK_RETURN}, {"space", 0, VK_SPACE},
    {"esc", 0, VK_ESCAPE},   {"alt+f4", VK_MENU, VK_F4},
};

INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    if (up) input.ki.dwFlags = KEYEVENTF_KEYUP;
    return input;
}

// The comma-separated key names as key-down/key-up pairs; false on an
// unknown name.
bool ParseKeys(const std::string& names, std::vector<INPUT>& inputs) {
    std::size_t start = 0;
    while (start <= names.size()) {
        std::size_t end = names.find(',', start);
        if (end == std::string::npos) end = names.size();
        const std::string name = LowerCase(names.substr(start, end - start));
        const KeyStroke* stroke = nullptr;
        for (const KeyStroke& k : kKeys) {
            if (name == k.name) stroke = &k;
        }
        if (!stroke) return false;
        if (stroke->modifier) inputs.push_back(KeyInput(stroke->modifier, false));
        inputs.push_back(KeyInput(stroke->key, false));
        inputs.push_back(KeyInput(stroke->key, true));
        if (stroke->modifier) inputs.push_back(KeyInput(stroke->modifier, true));
        start = end + 1;
    }
    return !inputs.empty();
}

// The window is where typed keys go: it is the foreground window and its
// thread's keyboard focus is the window or one of its children.
bool TakesTypedKeys(HWND window) {
    if (::GetForegroundWindow() != window) return false;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return false;
    return info.hwndFocus == window || (info.hwndFocus && ::IsChild(window, info.hwndFocus));
}

int TypeKeys(HWND target, const std::string& keys, DWORD start, DWORD timeout) {
    std::vector<INPUT> inputs;
    if (!ParseKeys(keys, inputs)) {
        std::fprintf(stderr, "unknown keys: %s\n", keys.c_str());
        return 2;
    }
    // A skinned window fades in: wait for its full alpha, then for the focus.
    while (LayeredAlpha(target) >= 0 && LayeredAlpha(target) < 250 && ::GetTickCount() - start < timeout &&
           ::IsWindow(target)) {
        ::Sleep(20);
    }
    while (!TakesTypedKeys(target)) {
        if (!::IsWindow(target) || ::GetTickCount() - start > timeout) {
            std::fprintf(stderr, "the window never took the keyboard focus (foreground %p)\n",
                         static_cast<void*>(::GetForegroundWindow()));
            return 1;
        }
        ::Sleep(20);
    }
    // One key at a time, each after the window has taken the one before: a
    // person does not type ahead of what the box shows.
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (::SendInput(1, &inputs[i], sizeof(INPUT)) != 1) return 1;
        ::Sleep(30);
    }
    return 0;
}

int TypeIntoBox(const char* caption, const std::string& keys, DWORD timeout) {
    const DWORD start = ::GetTickCount();
    HWND box = WaitForBox(caption, timeout);
    if (!box) return 1;
    std::string text;
    ::EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    return TypeKeys(box, keys, start, timeout);
}

int TypeIntoWindow(const char* className, const std::string& keys, DWORD timeout, const char* programPathEnd) {
    const DWORD start = ::GetTickCount();
    WindowSearch search{className, LowerCase(programPathEnd), nullptr};
    while (!search.found) {
        ::EnumWindows(MatchClass, reinterpret_cast<LPARAM>(&search));
        if (search.found) break;
        if (::GetTickCount() - start > timeout) return 1;
        ::Sleep(50);
    }
    return TypeKeys(search.found, keys, start, timeout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && std::string(argv[1]) == "type") {
        const bool box = std::string(argv[2]) == "box";
        const int timeoutArg = box ? 5 : 6;
        const DWORD timeout = argc > timeoutArg ? static_cast<DWORD>(std::atoi(argv[timeoutArg])) : 30000;
        if (box) return TypeIntoBox(argv[3], argv[4], timeout);
        if (std::string(argv[2]) == "window" && argc >= 6) return TypeIntoWindow(argv[3], argv[4], timeout, argv[5]);
        return 2;
    }
    if (argc >= 3 && std::string(argv[1]) == "window") {
        return ReadWindow(argv[2], argc > 3 ? static_cast<DWORD>(std::atoi(argv[3])) : 30000, argc > 4 ? argv[4] : "");
    }
    if (argc >= 3 && std::string(argv[1]) == "skin") {
        return ReportSkin(argv[2], argc > 3 ? static_cast<DWORD>(std::atoi(argv[3])) : 30000);
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: uia wait|press|skin CAPTION [ID] [TIMEOUT_MS] | type box|window ...\n");
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
