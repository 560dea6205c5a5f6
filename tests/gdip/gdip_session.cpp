#include "tests/gdip/gdip_session.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "runtime/external_function.h"

namespace {

using StartupFunction = decltype(Gdiplus::GdiplusStartup);
using ShutdownFunction = decltype(Gdiplus::GdiplusShutdown);
ExternalFunction<StartupFunction> pStartup{"gdiplus.dll", "GdiplusStartup"};
ExternalFunction<ShutdownFunction> pShutdown{"gdiplus.dll", "GdiplusShutdown"};

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(pStartup(&token_, &input, nullptr), Gdiplus::Ok);
    }
    void TearDown() override {
        if (token_) pShutdown(token_);
    }

private:
    ULONG_PTR token_ = 0;
};

[[maybe_unused]] ::testing::Environment* const gEnvironment =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

}  // namespace

std::string TempPath(const std::string& name) {
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    return std::string(base) + "gdip" + std::to_string(::GetCurrentProcessId()) + "_" + name;
}

ByteArray ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return ByteArray(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
