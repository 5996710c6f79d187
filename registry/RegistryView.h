// The registry's views. 64-bit Windows keeps some keys apart for 32-bit and 64-bit programs (HKLM\Software\Run
// and its 32-bit twin under WOW6432Node, say) and shares the rest; a key is read, deleted and restored in the view
// it was found in, whichever build does it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

enum class RegistryView {
    // A shared key, or any key of 32-bit Windows: the one view there is, opened without a view flag.
    Default,
    Bits64,
    Bits32,
};

// The view flag a key of the view is opened with.
REGSAM AccessOf(RegistryView view) noexcept;

// Whether the machine runs 64-bit Windows (a 32-bit build then runs under WOW64).
bool IsWindows64() noexcept;

// "64-bit" and "32-bit"; empty for the default view. What the console's reports and the rollback files record.
const char* ViewName(RegistryView view) noexcept;
// The view of a name ViewName gives; nothing for an unknown name.
std::optional<RegistryView> ViewNamed(const std::string& name);
// What the results list adds to the name of an entry of the view: nothing for the default view and for the view
// this build sees on its own, " (32-bit)" or " (64-bit)" for the other one.
std::string ViewMark(RegistryView view);

// The views a key is walked in. A key Windows keeps apart is walked in both views on 64-bit Windows, unless this
// machine shares it after all (Windows versions and look-alikes differ), in which case it is walked once.
std::vector<RegistryView> ViewsToWalk(HKEY root, const std::string& path, bool keptApart);

// Environment variables expanded as this program sees them, whatever the registry type the text came from;
// unknown variables stay as written.
std::string ExpandVariables(const std::string& text);
// Text with its environment variables expanded as a program of the view sees them: %ProgramFiles% and
// %CommonProgramFiles% name a different folder for 32-bit and 64-bit programs.
std::string ExpandInView(const std::string& text, RegistryView view);
// The text names a variable that Windows sets for each user who logs on (%APPDATA%, %USERPROFILE%, %TEMP%, ...):
// a machine-wide entry that holds one names a different place for every user.
bool NamesPerUserVariable(const std::string& text);
