// Shortcut files saved and read through the system's own shell-link object, the yardstick for ours.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <memory>
#include <optional>
#include <string>

struct ReleaseCom {
    void operator()(IUnknown* object) const { object->Release(); }
};

// A shortcut's target as written (variables unexpanded) and its working folder.
struct Shortcut {
    std::string target;
    std::string folder;
};

// The system's shell-link object and its file interface; Made() is false when COM cannot make them.
class ShellLinkObject {
public:
    ShellLinkObject()
    {
        IShellLinkA* link = nullptr;
        IPersistFile* file = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(&link)))) {
            link_.reset(link);
            if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
                file_.reset(file);
            }
        }
    }

    bool Made() const { return link_ && file_; }
    IShellLinkA* Link() const { return link_.get(); }
    IPersistFile* File() const { return file_.get(); }

private:
    std::unique_ptr<IShellLinkA, ReleaseCom> link_;
    std::unique_ptr<IPersistFile, ReleaseCom> file_;
};

inline std::wstring Wide(const std::string& path)
{
    wchar_t wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    return wide;
}

inline std::optional<Shortcut> ReadShortcut(const std::string& path)
{
    const ShellLinkObject object;
    if (!object.Made() || FAILED(object.File()->Load(Wide(path).c_str(), STGM_READ))) {
        return std::nullopt;
    }
    char target[MAX_PATH] = "";
    char folder[MAX_PATH] = "";
    object.Link()->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    object.Link()->GetWorkingDirectory(folder, MAX_PATH);
    return Shortcut{target, folder};
}

// Saves a shortcut to target; false when it cannot.
inline bool SaveShortcut(const std::string& linkPath, const std::string& target)
{
    const ShellLinkObject object;
    return object.Made() && SUCCEEDED(object.Link()->SetPath(target.c_str())) &&
           SUCCEEDED(object.File()->Save(Wide(linkPath).c_str(), TRUE));
}
