#include "engine/Evidence.h"

#include <windows.h>

const char* GradeName(Grade grade) noexcept
{
    switch (grade) {
    case Grade::Review:
        return "Review";
    case Grade::Expert:
        return "Expert";
    default:
        return "Safe";
    }
}

std::optional<Grade> GradeNamed(const std::string& name)
{
    for (const Grade grade : {Grade::Safe, Grade::Review, Grade::Expert}) {
        if (lstrcmpiA(name.c_str(), GradeName(grade)) == 0) {
            return grade;
        }
    }
    return std::nullopt;
}
