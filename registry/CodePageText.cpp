#include "registry/CodePageText.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace {

// Every code page Windows uses for ANSI text holds the ASCII characters unchanged.
bool IsAscii(const wchar_t* text, size_t length)
{
    return std::all_of(text, text + length, [](wchar_t c) { return c < 0x80; });
}

}  // namespace

std::optional<std::string> ExactNarrow(const wchar_t* text, size_t length)
{
    if (IsAscii(text, length)) {
        return std::string(text, text + length);
    }
    if (length > INT_MAX / 4) {
        return std::nullopt;
    }
    const int wideLength = static_cast<int>(length);
    const int needed = WideCharToMultiByte(CP_ACP, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return std::nullopt;
    }
    std::string narrow(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, wideLength, narrow.data(), needed, nullptr, nullptr);
    // The way back shows substitutes and best-fit mappings alike.
    const std::wstring back = Widen(narrow);
    if (back.size() != length || !std::equal(back.begin(), back.end(), text)) {
        return std::nullopt;
    }
    return narrow;
}

std::wstring Widen(const std::string& text)
{
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(needed, 0)), L'\0');
    if (needed > 0) {
        MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
    }
    return wide;
}
