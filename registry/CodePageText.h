// Corvadin reads and writes names and text through the code-page ("ANSI") functions, which put a substitute in
// place of every character the code page lacks: a path with such a character would be looked for, backed up and
// restored as a different path. Text is therefore read wide and taken only when it comes back from the code page
// unchanged; text that does not is passed over, never judged nor deleted.
#pragma once

#include <optional>
#include <string>

// The code-page form of length wide characters, or nothing when any of them would not come back the same (a
// substitute, or a best-fit look-alike such as "a" for "ā").
std::optional<std::string> ExactNarrow(const wchar_t* text, size_t length);
inline std::optional<std::string> ExactNarrow(const std::wstring& text)
{
    return ExactNarrow(text.data(), text.size());
}
// The wide form of code-page text.
std::wstring Widen(const std::string& text);
