// The target of a file issue: a file named by its folder and its own name.
#pragma once

#include "registry/NamedItem.h"
#include "registry/RefCounted.h"

#include <string>
#include <utility>

class FileItem : public RefCounted, public NamedItem {
public:
    FileItem(std::string fileName, std::string folderPath)
        : name_(std::move(fileName)), folder_(std::move(folderPath))
    {
    }

    std::string Name() const override { return name_; }
    std::string ParentPath() const override { return folder_; }
    // What the repair copies and deletes.
    std::string Path() const { return JoinPath(folder_, name_); }

private:
    std::string name_;
    std::string folder_;
};
