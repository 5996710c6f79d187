#include "settings/FolderBrowser.h"

#include "ui/ShellItem.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

// Opens the browser on the current choice once it is ready; data is the field's text.
int CALLBACK PreselectCurrent(HWND browser, UINT message, LPARAM, LPARAM data) noexcept
{
    if (message != BFFM_INITIALIZED) {
        return 0;
    }
    const auto* text = reinterpret_cast<const char*>(data);
    if (!IsRecycleBinName(text)) {
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(text));
        return 0;
    }
    if (const UniquePidl recycleBin = SpecialFolderItem(CSIDL_BITBUCKET)) {
        SendMessageA(browser, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(recycleBin.get()));
    }
    return 0;
}

}  // namespace

bool IsRecycleBinName(const char* text)
{
    std::string lower(text ? text : "");
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return lower == "recycle bin";
}

void BrowseForFolder(HWND page, UINT field)
{
    char current[MAX_PATH] = "";
    GetDlgItemTextA(page, static_cast<int>(field), current, MAX_PATH);
    char chosenName[MAX_PATH] = "";
    BROWSEINFOA info{};
    info.hwndOwner = page;
    info.pszDisplayName = chosenName;
    info.lpszTitle = "Select folder";
    info.lpfn = &PreselectCurrent;
    info.lParam = reinterpret_cast<LPARAM>(current);
    const UniquePidl chosen(SHBrowseForFolderA(&info));
    if (!chosen) {
        return;
    }
    // The Recycle Bin keeps the shell's own spelling of its name; anything else is shown by its path.
    if (IsRecycleBinName(chosenName)) {
        SetDlgItemTextA(page, static_cast<int>(field), chosenName);
        return;
    }
    char path[MAX_PATH] = "";
    if (SHGetPathFromIDListA(chosen.get(), path) && path[0]) {
        SetDlgItemTextA(page, static_cast<int>(field), path);
    }
}
