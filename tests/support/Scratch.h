// Scratch registry keys and folders, and entries planted at fixed places: each test works under its own and
// leaves nothing behind.
#pragma once

#include "tests/support/PlainRegistry.h"

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

// HKEY_CURRENT_USER\Software\CorvadinTest\<name>, created empty, deleted with its tree: a registry test's own
// place. Subkeys are given relative to it ("" for the key itself).
class ScratchKey {
public:
    explicit ScratchKey(const std::string& name, HKEY root = HKEY_CURRENT_USER)
        : root_(root), path_("Software\\CorvadinTest\\" + name)
    {
        RegDeleteTreeA(root_, path_.c_str());
        CreateSubkey("");
    }
    ~ScratchKey() { RegDeleteTreeA(root_, path_.c_str()); }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY Root() const { return root_; }
    // The path below the root, for RegistryKey's parent path.
    const std::string& Path() const { return path_; }

    void Set(const std::string& subkey, const std::string& name, DWORD type, const void* data, DWORD size) const
    {
        WriteValue(root_, Below(subkey), name, type, data, size);
    }
    void SetString(const std::string& subkey, const std::string& name, const std::string& text,
                   DWORD type = REG_SZ) const
    {
        WriteText(root_, Below(subkey), name, text, type);
    }
    void SetDword(const std::string& subkey, const std::string& name, DWORD number) const
    {
        WriteDword(root_, Below(subkey), name, number);
    }
    void CreateSubkey(const std::string& subkey) const
    {
        HKEY key = nullptr;
        RegCreateKeyExA(root_, Below(subkey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegCloseKey(key);
    }
    bool HasValue(const std::string& subkey, const std::string& name) const
    {
        return ValueExists(root_, Below(subkey), name);
    }
    bool HasSubkey(const std::string& subkey) const { return KeyExists(root_, Below(subkey)); }

private:
    std::string Below(const std::string& subkey) const { return subkey.empty() ? path_ : path_ + "\\" + subkey; }

    HKEY root_;
    std::string path_;
};

// Entries planted for one test at the fixed places the product reads (Run, App Paths, CLSID...), removed exactly
// afterwards: keys that did not exist before go with their trees, values set in keys that existed one by one.
class PlantedRegistry {
public:
    PlantedRegistry() = default;
    ~PlantedRegistry()
    {
        for (const Entry& value : values_) {
            RegDeleteKeyValueA(value.root, value.path.c_str(), value.name.c_str());
        }
        for (auto key = createdKeys_.rbegin(); key != createdKeys_.rend(); ++key) {
            RegDeleteTreeA(key->root, key->path.c_str());
        }
    }
    PlantedRegistry(const PlantedRegistry&) = delete;
    PlantedRegistry& operator=(const PlantedRegistry&) = delete;

    // Creates root\path and every missing key above it.
    void CreateKey(HKEY root, const std::string& path)
    {
        for (size_t end = path.find('\\');; end = path.find('\\', end + 1)) {
            const std::string prefix = path.substr(0, end);
            HKEY key = nullptr;
            DWORD disposition = 0;
            if (RegCreateKeyExA(root, prefix.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition) ==
                ERROR_SUCCESS) {
                RegCloseKey(key);
                if (disposition == REG_CREATED_NEW_KEY) {
                    createdKeys_.push_back({root, prefix, {}});
                }
            }
            if (end == std::string::npos) {
                break;
            }
        }
    }
    void Set(HKEY root, const std::string& path, const std::string& name, DWORD type, const void* data, DWORD size)
    {
        Claim(root, path, name);
        WriteValue(root, path, name, type, data, size);
    }
    void SetString(HKEY root, const std::string& path, const std::string& name, const std::string& text,
                   DWORD type = REG_SZ)
    {
        Claim(root, path, name);
        WriteText(root, path, name, text, type);
    }
    // A multi-string value from strings joined as "a\0b\0" (the final empty string is added).
    void SetMultiString(HKEY root, const std::string& path, const std::string& name, const std::string& joined)
    {
        const std::string data = joined + '\0';
        Set(root, path, name, REG_MULTI_SZ, data.data(), static_cast<DWORD>(data.size()));
    }
    void SetDword(HKEY root, const std::string& path, const std::string& name, DWORD number)
    {
        Claim(root, path, name);
        WriteDword(root, path, name, number);
    }

private:
    struct Entry {
        HKEY root;
        std::string path;
        std::string name;
    };
    // Creates the value's key and marks the value for removal.
    void Claim(HKEY root, const std::string& path, const std::string& name)
    {
        CreateKey(root, path);
        values_.push_back({root, path, name});
    }

    std::vector<Entry> createdKeys_;
    std::vector<Entry> values_;
};

// A fresh folder under the temporary folder, removed with everything in it.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() / ("corvadin-" + name))
    {
        RemoveAll();
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() { RemoveAll(); }
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
    // Read-only files too (a repair's copy of a read-only shortcut is one), which would stop remove_all halfway.
    void RemoveAll() const
    {
        std::error_code ignored;
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            SetFileAttributesA(it->path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        std::filesystem::remove_all(path_, ignored);
    }

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
