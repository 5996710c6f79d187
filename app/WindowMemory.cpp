#include "app/WindowMemory.h"

#include "registry/UniqueHandle.h"

#include <sstream>

namespace {

constexpr const char* PlaceName = "MainWindowPlacement";
constexpr const char* ColumnsName = "ResultColumns";
constexpr const char* SortName = "ResultSort";
// Far beyond any screen: a larger number is damage, not a place.
constexpr int kLargestRemembered = 1 << 20;

std::string ReadRememberedText(HKEY key, const char* name)
{
    char text[256]{};
    DWORD type = 0;
    DWORD size = sizeof text - 1;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return {};
    }
    return std::string(text, strnlen(text, size));
}

bool WriteRememberedText(HKEY key, const char* name, const std::string& text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace

std::optional<std::vector<int>> ReadNumbers(const std::string& text)
{
    std::istringstream in(text);
    std::vector<int> numbers;
    long long number = 0;
    while (in >> number) {
        if (number < -kLargestRemembered || number > kLargestRemembered) {
            return std::nullopt;
        }
        numbers.push_back(static_cast<int>(number));
    }
    if (!in.eof() || numbers.empty()) {
        return std::nullopt;
    }
    return numbers;
}

std::string NumbersText(const std::vector<int>& numbers)
{
    std::string text;
    for (const int number : numbers) {
        text += (text.empty() ? "" : " ") + std::to_string(number);
    }
    return text;
}

std::string PlaceText(const RECT& place, bool maximised)
{
    return NumbersText({place.left, place.top, place.right, place.bottom, maximised ? 1 : 0});
}

std::optional<std::pair<RECT, bool>> ReadPlace(const std::string& text)
{
    const auto numbers = ReadNumbers(text);
    if (!numbers || numbers->size() != 5) {
        return std::nullopt;
    }
    const auto& n = *numbers;
    const RECT place{n[0], n[1], n[2], n[3]};
    if (place.right <= place.left || place.bottom <= place.top || (n[4] != 0 && n[4] != 1)) {
        return std::nullopt;
    }
    return std::make_pair(place, n[4] == 1);
}

bool IsOnAScreen(const RECT& place) noexcept
{
    return MonitorFromRect(&place, MONITOR_DEFAULTTONULL) != nullptr;
}

WindowMemory LoadWindowMemory(HKEY root, const std::string& keyPath)
{
    WindowMemory memory;
    UniqueHkey key;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        return memory;
    }
    if (const auto place = ReadPlace(ReadRememberedText(key.get(), PlaceName))) {
        memory.place = place->first;
        memory.maximised = place->second;
    }
    if (const auto widths = ReadNumbers(ReadRememberedText(key.get(), ColumnsName))) {
        bool sound = true;
        for (const int width : *widths) {
            sound = sound && width >= 0 && width <= 4000;
        }
        memory.columnWidths = sound ? *widths : std::vector<int>();
    }
    const auto sort = ReadNumbers(ReadRememberedText(key.get(), SortName));
    if (sort && sort->size() == 2 && (*sort)[0] >= -1 && ((*sort)[1] == 0 || (*sort)[1] == 1)) {
        memory.sortColumn = (*sort)[0];
        memory.sortAscending = (*sort)[1] == 1;
    }
    return memory;
}

bool SaveWindowMemory(HKEY root, const std::string& keyPath, const WindowMemory& memory)
{
    UniqueHkey key;
    if (RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    bool written = true;
    if (memory.place) {
        written = WriteRememberedText(key.get(), PlaceName, PlaceText(*memory.place, memory.maximised)) && written;
    }
    if (!memory.columnWidths.empty()) {
        written = WriteRememberedText(key.get(), ColumnsName, NumbersText(memory.columnWidths)) && written;
    }
    return WriteRememberedText(key.get(), SortName, NumbersText({memory.sortColumn, memory.sortAscending ? 1 : 0})) &&
           written;
}
