// Scratch registry keys and folders for tests: each test works under its own and
// leaves nothing behind.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

// HKEY_CURRENT_USER\Software\CorvadinTest\<name>, created empty, deleted with its tree.
class ScratchKey {
public:
    explicit ScratchKey(const std::string& name, HKEY root = HKEY_CURRENT_USER)
        : root_(root), path_("Software\\CorvadinTest\\" + name)
    {
        RegDeleteTreeA(root_, path_.c_str());
        RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    }
    ~ScratchKey()
    {
        RegCloseKey(key_);
        RegDeleteTreeA(root_, path_.c_str());
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY Root() const { return root_; }
    // The path below the root, for RegistryKey's parent path.
    const std::string& Path() const { return path_; }

    void Set(const std::string& subkey, const std::string& name, DWORD type, const void* data, DWORD size) const
    {
        HKEY key = nullptr;
        RegCreateKeyExA(key_, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    void SetString(const std::string& subkey, const std::string& name, const std::string& text,
                   DWORD type = REG_SZ) const
    {
        Set(subkey, name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
    void SetDword(const std::string& subkey, const std::string& name, DWORD number) const
    {
        Set(subkey, name, REG_DWORD, &number, sizeof number);
    }
    void CreateSubkey(const std::string& subkey) const
    {
        HKEY key = nullptr;
        RegCreateKeyExA(key_, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegCloseKey(key);
    }
    bool HasValue(const std::string& subkey, const std::string& name) const
    {
        return RegGetValueA(key_, subkey.empty() ? nullptr : subkey.c_str(), name.c_str(), RRF_RT_ANY, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS;
    }
    bool HasSubkey(const std::string& subkey) const
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(key_, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }

private:
    HKEY root_;
    std::string path_;
    HKEY key_ = nullptr;
};

// A fresh folder under the temporary folder, removed with everything in it.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() / ("corvadin-" + name))
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path() const { return path_.string(); }
    // Creates a file (and its folders) holding text; returns its full path.
    std::string AddFile(const std::string& relative, const std::string& text = "x") const
    {
        const std::filesystem::path file = path_ / relative;
        std::filesystem::create_directories(file.parent_path());
        FILE* out = fopen(file.string().c_str(), "wb");
        fwrite(text.data(), 1, text.size(), out);
        fclose(out);
        return file.string();
    }

private:
    std::filesystem::path path_;
};

// Runs the test body with the current folder set to folder, and restores it after.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder)
    {
        char previous[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, previous);
        previous_ = previous;
        SetCurrentDirectoryA(folder.c_str());
    }
    ~CurrentFolder() { SetCurrentDirectoryA(previous_.c_str()); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::string previous_;
};
