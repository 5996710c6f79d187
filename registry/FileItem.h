// The target of a file or folder issue: an item on disk named by its folder and its own name.
#pragma once

#include "registry/NamedItem.h"
#include "registry/RepairTarget.h"

#include <windows.h>

#include <string>
#include <utility>

class FileItem : public RepairTarget, public NamedItem {
public:
    FileItem(std::string fileName, std::string folderPath)
        : name_(std::move(fileName)), folder_(std::move(folderPath))
    {
    }

    std::string Name() const override { return name_; }
    std::string ParentPath() const override { return folder_; }
    // Folder and name with no separator between them, as the results list has always shown them.
    std::string DisplayName() const override { return folder_ + name_; }
    // What the repair copies and deletes.
    std::string FullPath() const override { return JoinPath(folder_, name_); }
    bool IsGone() const override
    {
        if (GetFileAttributesA(FullPath().c_str()) != INVALID_FILE_ATTRIBUTES) {
            return false;
        }
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }

private:
    std::string name_;
    std::string folder_;
};
