// Reads what the built updater.exe declares to Windows from its resources:
// the application manifest and the version information.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/window_probe.h"

namespace {

std::string UpdaterPath() { return probe::BinDirectory() + "\\updater.exe"; }

// The manifest resource (id 1) as text; empty when there is none.
std::string ManifestOf(const std::string& path) {
    HMODULE image = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!image) return {};
    std::string text;
    if (HRSRC found = ::FindResourceA(image, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST)) {
        if (HGLOBAL loaded = ::LoadResource(image, found)) {
            text.assign(static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(image, found));
        }
    }
    ::FreeLibrary(image);
    return text;
}

struct VersionInfo {
    std::vector<char> block;

    explicit VersionInfo(const std::string& path) {
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
        if (size == 0) return;
        block.resize(size);
        if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data())) block.clear();
    }

    const VS_FIXEDFILEINFO* Fixed() {
        void* value = nullptr;
        UINT length = 0;
        if (block.empty() || !::VerQueryValueA(block.data(), "\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
            return nullptr;
        }
        return static_cast<const VS_FIXEDFILEINFO*>(value);
    }

    // A string of the first translation the block lists.
    std::string String(const char* name) {
        struct Translation {
            WORD language, codePage;
        }* translations = nullptr;
        UINT length = 0;
        if (block.empty() ||
            !::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length) ||
            length < sizeof(Translation)) {
            return "(no translation)";
        }
        char query[128];
        std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", translations->language,
                      translations->codePage, name);
        char* value = nullptr;
        if (!::VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&value), &length) || !value) {
            return "(missing)";
        }
        return std::string(value, length && value[length - 1] == '\0' ? length - 1 : length);
    }
};

TEST(UpdaterResources, ManifestRunsAsInvokerOnWindows7To11PerMonitorDpiAware) {
    const std::string manifest = ManifestOf(UpdaterPath());
    ASSERT_FALSE(manifest.empty()) << "updater.exe carries no application manifest";
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\""), std::string::npos) << manifest;
    EXPECT_EQ(manifest.find("requireAdministrator"), std::string::npos);
    const char* const kSupportedOs[] = {
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
    };
    for (const char* id : kSupportedOs) {
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos) << id;
    }
    // Per-monitor v2, else v1; "true/pm" for systems before Windows 10 1607.
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos) << manifest;
}

TEST(UpdaterResources, VersionInformationCarriesTheProjectVersion) {
    VersionInfo info(UpdaterPath());
    const VS_FIXEDFILEINFO* fixed = info.Fixed();
    ASSERT_NE(fixed, nullptr) << "updater.exe carries no version information";
    const DWORD expectedHigh = MAKELONG(UPDATER_EXPECTED_MINOR, UPDATER_EXPECTED_MAJOR);
    const DWORD expectedLow = MAKELONG(0, UPDATER_EXPECTED_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, expectedHigh);
    EXPECT_EQ(fixed->dwFileVersionLS, expectedLow);
    EXPECT_EQ(fixed->dwProductVersionMS, expectedHigh);
    EXPECT_EQ(fixed->dwProductVersionLS, expectedLow);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    const std::string version = std::to_string(UPDATER_EXPECTED_MAJOR) + "." + std::to_string(UPDATER_EXPECTED_MINOR) +
                                "." + std::to_string(UPDATER_EXPECTED_PATCH) + ".0";
    EXPECT_EQ(info.String("FileVersion"), version);
    EXPECT_EQ(info.String("ProductVersion"), version);
    EXPECT_EQ(info.String("FileDescription"), UPDATER_EXPECTED_DESCRIPTION);
    EXPECT_EQ(info.String("ProductName"), UPDATER_EXPECTED_PRODUCT);
    EXPECT_EQ(info.String("OriginalFilename"), "updater.exe");
}

}  // namespace
