// What the repair tests share: registry snapshots, file contents, the operation log
// of one test, issues made the way scanners make them, and the registry editor.
#pragma once

#include "engine/ScanIssue.h"
#include "registry/OperationLog.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

inline std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The names of the files in the current folder, sorted.
inline std::vector<std::string> FilesHere()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Every key below a path, by path relative to it, with every value's type and bytes,
// read with the plain API so that the code under test does not judge itself.
struct StoredValue {
    DWORD type;
    std::vector<BYTE> bytes;
    bool operator==(const StoredValue&) const = default;
};
using KeySnapshot = std::map<std::string, std::map<std::string, StoredValue>>;

inline void SnapshotInto(HKEY root, const std::string& path, const std::string& relative, KeySnapshot& snapshot)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    auto& values = snapshot[relative];
    std::vector<char> name(32768);
    std::vector<BYTE> data(1 << 20);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size()), size = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
            break;
        }
        values[std::string(name.data(), nameLength)] = {type, std::vector<BYTE>(data.begin(), data.begin() + size)};
    }
    std::vector<std::string> subkeys;
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (RegEnumKeyExA(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        subkeys.emplace_back(name.data(), nameLength);
    }
    RegCloseKey(key);
    for (const std::string& subkey : subkeys) {
        SnapshotInto(root, path + "\\" + subkey, relative + "\\" + subkey, snapshot);
    }
}

inline KeySnapshot Snapshot(HKEY root, const std::string& path)
{
    KeySnapshot snapshot;
    SnapshotInto(root, path, "", snapshot);
    return snapshot;
}

// The lines the operation log receives while it lives.
class LogCapture {
public:
    explicit LogCapture(std::string path) : path_(std::move(path))
    {
        DeleteFileA(path_.c_str());
        OperationLog::Start(path_);
    }
    ~LogCapture()
    {
        OperationLog::Stop();
        DeleteFileA(path_.c_str());
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // The texts of the lines that record repairs, without their time stamps.
    std::vector<std::string> FixLines() const
    {
        std::vector<std::string> lines;
        std::ifstream in(path_);
        for (std::string line; std::getline(in, line);) {
            const size_t text = line.find("\t\t");
            if (text != std::string::npos && line.compare(text + 2, 4, "Fix ") == 0) {
                lines.push_back(line.substr(text + 2));
            }
        }
        return lines;
    }

private:
    std::string path_;
};

// An issue made as a scanner makes it: the issue holds the only reference to its target.
inline Ref<ScanIssue> MakeIssue(int kind, RepairTarget* target, const std::string& source = "Round trip")
{
    Ref<RefCounted> held(target);
    return Ref<ScanIssue>(new ScanIssue(kind, target, " test", source));
}

inline Ref<ScanIssue> KeyIssueFor(HKEY root, const std::string& parentPath, const std::string& name)
{
    return MakeIssue(KeyIssue, new RegistryKey(root, parentPath, name));
}

inline Ref<ScanIssue> ValueIssueFor(HKEY root, const std::string& keyPath, const std::string& keyName,
                                    const std::string& valueName)
{
    Ref<RegistryKey> key(new RegistryKey(root, keyPath, keyName));
    return MakeIssue(ValueIssue, new RegistryValue(valueName, key.get()));
}

// Imports a .reg file silently with the system's registry editor; its exit code.
inline DWORD ImportWithRegedit(const std::string& file)
{
    std::string command = "regedit.exe /s \"" + file + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return GetLastError() | 0x10000000;
    }
    WaitForSingleObject(process.hProcess, 120000);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}
