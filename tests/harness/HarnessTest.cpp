// Checks that test executables run as the build they come from and reach a working registry.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

namespace {

constexpr const char* kScratchKey = "Software\\CorvadinTest\\harness";

TEST(HarnessTest, RunsAsTheBuildsBitness)
{
    EXPECT_EQ(sizeof(void*) * 8, static_cast<size_t>(CORVADIN_EXPECTED_POINTER_BITS));
}

TEST(HarnessTest, RegistryValueRoundTripsAndIsRemoved)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);

    const std::string written = "C:\\Program Files\\Gone\\gone.exe";
    EXPECT_EQ(RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(written.c_str()),
                             static_cast<DWORD>(written.size() + 1)),
              ERROR_SUCCESS);

    char read[MAX_PATH] = {};
    DWORD type = 0;
    DWORD size = sizeof(read);
    EXPECT_EQ(RegQueryValueExA(key, "Path", nullptr, &type, reinterpret_cast<BYTE*>(read), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, written.size() + 1);
    EXPECT_EQ(std::string(read), written);
    RegCloseKey(key);

    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

} // namespace
