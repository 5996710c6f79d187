// How much is at stake in deleting each kind of entry a category reports: one row per category and kind of entry,
// read when an issue is reported, so that no scanner decides its own grade.
#pragma once

#include "engine/Evidence.h"
#include "scanners/Categories.h"

// The kind of every issue of a category whose row names no kind.
inline constexpr int AnyKind = -1;

struct GradeRow {
    Category category;
    int kind;  // an IssueKind, or AnyKind
    Grade grade;
    const char* reason;
};

// The rows, in the order of the categories.
std::span<const GradeRow> GradeRows() noexcept;
// The row of an issue of the category and kind.
const GradeRow& GradeOf(Category category, int kind) noexcept;
