// The programs' first call limits the DLL search to the system folder for the whole process: a program of its own.
#include "registry/DllSearch.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

TEST(DllSearchTest, AfterTheCallADllPlantedInTheCurrentFolderIsNotOpened)
{
    const ScratchFolder planted("dll-search");
    planted.AddFile("corvadin-planted.dll", "not a program");
    const CurrentFolder inIt(planted.Path());
    const auto failure = [] { return LoadLibraryA("corvadin-planted.dll") ? 0ul : GetLastError(); };
    EXPECT_EQ(failure(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT)) << "opened before the call";
    ASSERT_TRUE(RestrictDllSearchToSystemFolder());
    EXPECT_EQ(failure(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}
