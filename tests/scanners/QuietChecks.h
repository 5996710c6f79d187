// The file checks asked without keeping what they looked at, for tests about their verdicts alone.
#pragma once

#include "scanners/CommandVerdicts.h"
#include "scanners/FileChecks.h"
#include "scanners/TargetChecks.h"

#include <string>

inline bool FileExists(const std::string& path)
{
    Looks looks;
    return FileExists(path, looks);
}
inline bool FolderExists(const std::string& path)
{
    Looks looks;
    return FolderExists(path, looks);
}
inline bool FileOrFolderExists(const std::string& path)
{
    Looks looks;
    return FileOrFolderExists(path, looks);
}
inline bool FindOnSearchPath(const std::string& text)
{
    Looks looks;
    return FindOnSearchPath(text, looks);
}
inline bool CanStartProcess(const std::string& commandLine)
{
    Looks looks;
    return CanStartProcess(commandLine, looks);
}
inline bool NamesExistingPath(const std::string& text)
{
    Looks looks;
    return NamesExistingPath(text, looks);
}
inline bool ProgramFileExists(const std::string& commandLine)
{
    Looks looks;
    return ProgramFileExists(commandLine, looks);
}
inline bool IsGone(CommandVerdicts& verdicts, const std::string& commandLine)
{
    Looks looks;
    return verdicts.IsGone(commandLine, looks);
}
