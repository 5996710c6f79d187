#include "scanners/Looks.h"

#include <utility>

Presence PresenceOfError(DWORD error) noexcept
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return Presence::Absent;
    default:
        return Presence::Unknown;
    }
}

std::string AnswerOfError(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return "not found";
    case ERROR_PATH_NOT_FOUND:
        return "path not found";
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return "not a possible name";
    default:
        return "cannot tell (error " + std::to_string(error) + ")";
    }
}

Presence Looks::Note(std::string looked, Presence presence, std::string answer)
{
    undecided_ = undecided_ || presence == Presence::Unknown;
    items_.push_back({std::move(looked), std::move(answer)});
    return presence;
}

Presence Looks::NoteError(std::string looked, DWORD error)
{
    return Note(std::move(looked), PresenceOfError(error), AnswerOfError(error));
}

void Looks::Add(const Looks& earlier)
{
    undecided_ = undecided_ || earlier.undecided_;
    items_.insert(items_.end(), earlier.items_.begin(), earlier.items_.end());
}
