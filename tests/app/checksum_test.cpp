// SHA-256 of files through CNG.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app/checksum.h"

TEST(FileSha256, KnownDigestsAndMissingFile) {
    char directory[MAX_PATH];
    ::GetTempPathA(MAX_PATH, directory);
    const std::string path = std::string(directory) + "checksum_test_" + std::to_string(::GetCurrentProcessId());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "abc";
    EXPECT_EQ(FileSha256(path), Text("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
    std::ofstream(path, std::ios::binary | std::ios::trunc);
    EXPECT_EQ(FileSha256(path), Text("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"));
    // More than one read of the file: three million 'a'.
    std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(3000000, 'a');
    EXPECT_EQ(FileSha256(path), Text("2a152c894398719c0570f83fac34ac03a0f6e8e474b995c2403aa5434f7b9dd4"));
    ::DeleteFileA(path.c_str());
    EXPECT_FALSE(FileSha256(path));
}

// A held file is hashed from its start through its own handle, however far
// it was read before.
TEST(FileSha256, HeldFileIsHashedFromItsStart) {
    char directory[MAX_PATH];
    ::GetTempPathA(MAX_PATH, directory);
    const std::string path = std::string(directory) + "checksum_held_" + std::to_string(::GetCurrentProcessId());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(3000000, 'a');
    {
        SealedFile held(path);
        ASSERT_TRUE(held.IsOpen());
        char skipped[100];
        ASSERT_EQ(held.Read(skipped, sizeof skipped), 100);
        EXPECT_EQ(FileSha256(held), Text("2a152c894398719c0570f83fac34ac03a0f6e8e474b995c2403aa5434f7b9dd4"));
    }
    SealedFile closed(path);
    closed.Close();
    EXPECT_FALSE(FileSha256(closed));
    ::DeleteFileA(path.c_str());
}
