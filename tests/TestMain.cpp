// Entry point shared by every Corvadin test executable: sets up what the product's own startup would.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);

    // Shell links are COM objects; the product's UI thread is apartment-threaded, so the tests are too.
    const HRESULT com = CoInitialize(nullptr);
    if (FAILED(com)) {
        std::fprintf(stderr, "CoInitialize failed: 0x%08lx\n", static_cast<unsigned long>(com));
        return 1;
    }

    // Registers the list view, tree view, progress bar, status bar and tabs that window tests create; the v5
    // classes only, since test executables carry no manifest asking for version 6.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    if (!InitCommonControlsEx(&controls)) {
        std::fprintf(stderr, "InitCommonControlsEx failed: %lu\n", GetLastError());
        CoUninitialize();
        return 1;
    }

    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
