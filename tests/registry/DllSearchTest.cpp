// The programs' first call: afterwards a DLL named without a folder is looked for in the system folder alone. A
// test program of its own, as the call holds for its whole process.
#include "registry/DllSearch.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

TEST(DllSearchTest, AfterTheCallADllPlantedInTheCurrentFolderIsNotOpened)
{
    const ScratchFolder planted("dll-search");
    planted.AddFile("corvadin-planted.dll", "not a program");
    const CurrentFolder inIt(planted.Path());
    EXPECT_FALSE(LoadLibraryA("corvadin-planted.dll"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT)) << "opened before the call";
    ASSERT_TRUE(RestrictDllSearchToSystemFolder());
    EXPECT_FALSE(LoadLibraryA("corvadin-planted.dll"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}
