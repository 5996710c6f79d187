// What a verdict rests on, and how much is at stake in acting on it: the records an issue carries so that the
// window, the console and the help can show why an entry is called broken.
#pragma once

#include <optional>
#include <string>
#include <vector>

// One place a check looked at and what Windows answered there.
struct Look {
    std::string looked;  // a path, key or command line as it was asked for, after expansion
    std::string answer;  // "not found", "path not found", "key absent", ...
};
using Evidence = std::vector<Look>;

// How much is at stake in deleting an entry. Expert entries are repaired only when named.
enum class Grade { Safe, Review, Expert };

// The reasons of the two marks that make an issue of any category Expert.
inline constexpr const char* InstallerOwnedReason =
    "Windows Installer names it as a component's key path: the product's self-repair puts it back, and deleting it "
    "may start a repair or break the product";
inline constexpr const char* CameBackReason =
    "It came back after an earlier repair: something restores it, and deleting it again only hides the cause";

// "Safe", "Review", "Expert".
const char* GradeName(Grade grade) noexcept;
// The grade of a name GradeName gives, without regard to case; nothing for an unknown name.
std::optional<Grade> GradeNamed(const std::string& name);
