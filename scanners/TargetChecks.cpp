#include "scanners/TargetChecks.h"

#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "scanners/FileChecks.h"

#include <windows.h>

#include <optional>

namespace {

bool HasWildcard(const std::string& text)
{
    return text.find_first_of("*?") != std::string::npos;
}

std::string WithoutSurroundingQuotes(const std::string& text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

// The file that the program's App Paths registration (the user's, then the
// machine's) names, or empty text. Nothing when that file's name does not fit the
// code page: it may well be there.
std::optional<std::string> RegisteredProgram(std::string name)
{
    if (name.find('.') == std::string::npos) {
        name += ".exe";
    }
    for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        Ref<RegistryKey> key(new RegistryKey(root, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", name));
        const Ref<RegistryValue> file = key->QueryValue("");
        if (file && !file->FitsCodePage()) {
            return std::nullopt;
        }
        if (file && !file->GetString(0).empty()) {
            return file->GetString(0);
        }
    }
    return std::string();
}

// A program named without a folder ("wordpad /x") that the shell finds through its
// App Paths registration, as the Run dialog, start-up and file verbs do.
bool RegisteredProgramExists(const std::string& program, Looks& looks)
{
    const std::string name = program.substr(0, program.find(' '));
    if (name.empty() || name.find_first_of("\\/:") != std::string::npos) {
        return false;
    }
    const std::optional<std::string> file = RegisteredProgram(name);
    if (file && file->empty()) {
        looks.Note(name + " in App Paths", Presence::Absent, "not registered");
    }
    return !file || (!file->empty() && NamesExistingPath(*file, looks));
}

}  // namespace

bool NamesExistingPath(const std::string& text, Looks& looks)
{
    const std::string path = WithoutSurroundingQuotes(ExpandVariables(text));
    return !path.empty() && !HasWildcard(path) && FileOrFolderExists(path, looks);
}

bool ProgramFileExists(const std::string& commandLine, Looks& looks)
{
    const std::string program = ExtractProgramPath(ExpandVariables(commandLine));
    return !program.empty() && !HasWildcard(program) &&
           (FileExists(program, looks) || RegisteredProgramExists(program, looks));
}

bool ProgramDriveIsAvailable(const std::string& commandLine)
{
    return IsOnAvailableDrive(ExtractProgramPath(ExpandVariables(commandLine)));
}

bool CommandNeedsStart(const std::string& commandLine, Looks& looks)
{
    return !ProgramFileExists(commandLine, looks) && ProgramDriveIsAvailable(commandLine);
}
