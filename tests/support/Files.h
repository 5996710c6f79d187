// Files and the system's folders, read with the plain API.
#pragma once

#include <windows.h>
#include <sddl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The file's bytes; opened with std::ios::in, its text with lines ending in "\n".
inline std::string ReadWholeFile(const std::string& path, std::ios::openmode mode = std::ios::binary)
{
    std::ifstream in(path, mode);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Lets every user change what is in folder, as a folder made at the root of C: may.
inline bool LetEveryoneWrite(const std::string& folder)
{
    PSECURITY_DESCRIPTOR open = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;WD)", 1, &open, nullptr);
    const bool done = open && SetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, open);
    LocalFree(open);
    return done;
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

inline std::string WindowsFolder()
{
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

// The variable's value; empty when it is not set.
inline std::string EnvironmentText(const char* name)
{
    char value[MAX_PATH] = "";
    const DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
    return length < MAX_PATH ? value : "";
}

inline std::string SystemFolder()
{
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}
