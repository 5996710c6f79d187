// The two name operations shared by registry keys and the file targets of issues.
#pragma once

#include <string>

class NamedItem {
public:
    virtual ~NamedItem() = default;
    // The last component of the item's path.
    virtual std::string Name() const = 0;
    // The containing key or folder, without root and without surrounding backslashes.
    virtual std::string ParentPath() const = 0;
};

// Parent path and name joined by a backslash; the name alone when there is no parent.
inline std::string JoinPath(const std::string& parentPath, const std::string& name)
{
    return parentPath.empty() ? name : parentPath + "\\" + name;
}
