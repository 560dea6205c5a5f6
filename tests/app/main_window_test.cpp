// Starts the real updater.exe and checks its main window from outside.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <string>

#include "tests/support/window_probe.h"

namespace {

struct Expected {
    const char* className;
    int left, top, width, height;
    const char* caption;
};

// The controls that lie inside the 492 x 293 window.
const Expected kVisible[] = {
    {"msctls_progress32", 38, 50, 418, 32, ""},
    {"Static", 43, 89, 64, 15, "正在下载:"},
    {"Static", 121, 90, 335, 12, ""},
    {"Static", 43, 106, 64, 15, "已下载:"},
    {"Static", 121, 106, 335, 12, ""},
    {"Static", 43, 123, 64, 15, "下载速度:"},
    {"Static", 121, 122, 335, 12, ""},
    {"Static", 43, 139, 64, 15, "下载地址:"},
    {"Static", 120, 138, 336, 12, ""},
    {"Edit", 37, 158, 419, 79, ""},
};

struct ChildInfo {
    std::string className;
    RECT rect;
    std::string caption;
    LONG style;
};

BOOL CALLBACK Collect(HWND child, LPARAM lParam) {
    auto* children = reinterpret_cast<std::vector<ChildInfo>*>(lParam);
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    children->push_back({probe::ClassOf(child), rect, probe::WindowText(child), ::GetWindowLongA(child, GWL_STYLE)});
    return TRUE;
}

TEST(MainWindow, HasItsTitleSizeAndControls) {
    // The manifest host is a closed port: whatever the update client does
    // with that, the window and its controls are built first.
    ::SetEnvironmentVariableA("UPDATER_HOST", "127.0.0.1:9");
    probe::Child updater;
    ASSERT_TRUE(probe::Start(updater, "\"" + probe::BinDirectory() + "\\updater.exe\""));
    HWND window = probe::WaitForWindow(updater.id, "UpdaterForm", "软件更新", 15000);
    ASSERT_NE(window, nullptr);

    RECT client;
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, 492);
    EXPECT_EQ(client.bottom, 293);
    RECT outer;
    ::GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 492);  // no system frame

    // The window exists before its controls: wait until the loader is through.
    std::vector<ChildInfo> children;
    for (int attempt = 0; attempt < 100; ++attempt) {
        children.clear();
        ::EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&children));
        if (children.size() >= 19u) break;
        ::Sleep(50);
    }
    EXPECT_EQ(children.size(), 19u);  // every control but the timer
    int inside = 0;
    for (const ChildInfo& child : children) {
        RECT visible;
        if (::IntersectRect(&visible, &child.rect, &client)) ++inside;
    }
    EXPECT_EQ(inside, 10);
    for (const Expected& e : kVisible) {
        bool found = false;
        for (const ChildInfo& child : children) {
            if (child.rect.left == e.left && child.rect.top == e.top &&
                child.rect.right - child.rect.left == e.width &&
                child.rect.bottom - child.rect.top == e.height) {
                found = true;
                EXPECT_EQ(child.className, e.className) << e.left << "," << e.top;
                if (child.className == "Static") {
                    EXPECT_EQ(child.caption, e.caption);
                    // A download address with "&" shows as it is.
                    EXPECT_TRUE(child.style & SS_NOPREFIX) << e.left << "," << e.top;
                }
            }
        }
        EXPECT_TRUE(found) << e.className << " at " << e.left << "," << e.top;
    }

    // Answer whatever box the update client shows, then close the window.
    if (HWND box = probe::WaitForMessageBox(updater.id, "", 500)) probe::PressButton(box, IDOK);
    if (::IsWindow(window)) ::PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(updater.Wait(15000), 0u);
}

// A local server whose download never ends: the manifest asks for an update
// of the main program, and the program's body trickles out slowly.
class TricklingServer {
public:
    TricklingServer() {
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 8);
        int length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = ::CreateThread(nullptr, 0, &TricklingServer::Serve, this, 0, nullptr);
    }
    ~TricklingServer() {
        stop_ = true;
        ::closesocket(listener_);
        ::WaitForSingleObject(thread_, 10000);
        ::CloseHandle(thread_);
        ::WSACleanup();
    }
    int Port() const { return port_; }
    bool DownloadStarted() const { return downloadStarted_; }

private:
    static DWORD WINAPI Serve(LPVOID self) {
        auto* server = static_cast<TricklingServer*>(self);
        while (!server->stop_) {
            SOCKET client = ::accept(server->listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) break;
            server->Answer(client);
            ::closesocket(client);
        }
        return 0;
    }
    void Answer(SOCKET client) {
        std::string request;
        char buffer[2048];
        while (request.find("\r\n\r\n") == std::string::npos) {
            int n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) return;
            request.append(buffer, static_cast<size_t>(n));
        }
        if (request.find("GET /GX.txt") == 0) {
            const std::string manifest =
                "[版本]2.0[/版本]\r\n[文件名]Norvane[/文件名]\r\n[自动]真[/自动][是否完整]假[/是否完整]\r\n"
                "[地址]http://127.0.0.1:" + std::to_string(port_) + "/Norvane.exe[/地址]\r\n[mal]新版本[/mal]\r\n";
            Send(client, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(manifest.size()) +
                             "\r\nConnection: close\r\n\r\n" + manifest);
            return;
        }
        Send(client, "HTTP/1.1 200 OK\r\nContent-Length: 50000000\r\nConnection: close\r\n\r\n");
        downloadStarted_ = true;
        const std::string chunk(1024, 'x');
        while (!stop_ && Send(client, chunk)) ::Sleep(100);
    }
    static bool Send(SOCKET client, const std::string& bytes) {
        return ::send(client, bytes.data(), static_cast<int>(bytes.size()), 0) == static_cast<int>(bytes.size());
    }

    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    HANDLE thread_ = nullptr;
    std::atomic<bool> stop_{false};
    std::atomic<bool> downloadStarted_{false};
};

TEST(MainWindow, ClosingItEndsWithZeroWhileTheUpdateThreadDownloads) {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string directory = std::string(temp) + "close_" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(directory.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA((probe::BinDirectory() + "\\updater.exe").c_str(),
                            (directory + "\\updater.exe").c_str(), FALSE));
    std::ofstream(directory + "\\config.ini", std::ios::binary) << "[配置]\r\n当前版本号=1.0\r\n";

    TricklingServer server;
    ::SetEnvironmentVariableA("UPDATER_HOST", ("127.0.0.1:" + std::to_string(server.Port())).c_str());
    probe::Child updater;
    ASSERT_TRUE(probe::Start(updater, "\"" + directory + "\\updater.exe\"", directory));
    HWND window = probe::WaitForWindow(updater.id, "UpdaterForm", "", 15000);
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 300 && !server.DownloadStarted(); ++i) ::Sleep(50);
    ASSERT_TRUE(server.DownloadStarted());
    EXPECT_EQ(updater.Wait(500), static_cast<DWORD>(STILL_ACTIVE));  // the download goes on

    ::PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(updater.Wait(15000), 0u);

    for (const char* name : {"updater.exe", "config.ini", "Norvane.exe.tmp"}) {
        ::DeleteFileA((directory + "\\" + name).c_str());
    }
    ::RemoveDirectoryA(directory.c_str());
}

}  // namespace
