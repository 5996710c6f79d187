#include "repair/RollbackReader.h"

#include "registry/RegistryKey.h"
#include "registry/UniqueHandle.h"

#include <cctype>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

constexpr const char* SharedViewName = "shared";

struct ParseError {
    std::string message;
};

// The file's lines with continuation lines ("...,\" then "  ...") joined, each
// remembering the line number it started on.
struct LogicalLine {
    int number;
    std::string text;
};

std::vector<LogicalLine> JoinLines(const std::string& text, int& lastLine)
{
    std::vector<LogicalLine> lines;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    bool continuing = false;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (continuing) {
            const size_t start = line.find_first_not_of(" \t");
            lines.back().text += start == std::string::npos ? std::string() : line.substr(start);
        } else {
            lines.push_back({number, line});
        }
        // Only hex data wraps; no other well-formed line ends with a backslash.
        continuing = !lines.back().text.empty() && lines.back().text.back() == '\\';
        if (continuing) {
            lines.back().text.pop_back();
        }
    }
    lastLine = number;
    if (continuing) {
        throw ParseError{"the file ends inside a continued hex line"};
    }
    return lines;
}

HKEY RootFromPath(const std::string& fullPath, std::string& rest)
{
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG}) {
        const std::string name = RootNameOf(root);
        if (fullPath.compare(0, name.size(), name) == 0 && fullPath.size() > name.size()) {
            rest = fullPath.substr(name.size());
            return root;
        }
    }
    throw ParseError{"unknown registry root in key header"};
}

// A quoted text starting at position (on the opening quote); moves position past
// the closing quote. Only \\ and \" are escapes, as the writer makes them.
std::string ReadQuoted(const std::string& line, size_t& position)
{
    std::string text;
    for (size_t i = position + 1; i < line.size(); ++i) {
        if (line[i] == '"') {
            position = i + 1;
            return text;
        }
        if (line[i] == '\\') {
            if (i + 1 >= line.size() || (line[i + 1] != '\\' && line[i + 1] != '"')) {
                throw ParseError{"bad escape in quoted text"};
            }
            ++i;
        }
        text += line[i];
    }
    throw ParseError{"quoted text without its closing quote"};
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// "01,02,ff" with an optional trailing comma (left by a wrap at the very end).
std::vector<BYTE> ReadHexBytes(const std::string& list)
{
    std::vector<BYTE> bytes;
    size_t i = 0;
    while (i < list.size()) {
        if (i + 1 >= list.size() || HexDigit(list[i]) < 0 || HexDigit(list[i + 1]) < 0) {
            throw ParseError{"bad hex byte"};
        }
        bytes.push_back(static_cast<BYTE>(HexDigit(list[i]) * 16 + HexDigit(list[i + 1])));
        i += 2;
        if (i < list.size()) {
            if (list[i] != ',') {
                throw ParseError{"bad hex byte list"};
            }
            ++i;
        }
    }
    return bytes;
}

RollbackValue ReadValue(const std::string& line)
{
    RollbackValue value;
    size_t position = 0;
    if (line[0] == '@') {
        position = 1;
    } else {
        value.name = ReadQuoted(line, position);
    }
    if (position >= line.size() || line[position] != '=') {
        throw ParseError{"value line without '='"};
    }
    const std::string data = line.substr(position + 1);
    if (!data.empty() && data[0] == '"') {
        size_t end = 0;
        const std::string text = ReadQuoted(data, end);
        if (end != data.size()) {
            throw ParseError{"text after the closing quote"};
        }
        value.type = REG_SZ;
        value.data.assign(text.begin(), text.end());
        value.data.push_back(0);
    } else if (data.rfind("dword:", 0) == 0) {
        const std::string digits = data.substr(6);
        if (digits.size() != 8) {
            throw ParseError{"a dword needs eight hex digits"};
        }
        const std::vector<BYTE> big = ReadHexBytes(digits.substr(0, 2) + "," + digits.substr(2, 2) + "," +
                                                   digits.substr(4, 2) + "," + digits.substr(6, 2));
        value.type = REG_DWORD;
        value.data.assign(big.rbegin(), big.rend());
    } else if (data.rfind("hex:", 0) == 0) {
        value.type = REG_BINARY;
        value.data = ReadHexBytes(data.substr(4));
    } else if (data.rfind("hex(", 0) == 0) {
        const size_t close = data.find("):");
        const std::string number = close == std::string::npos ? std::string() : data.substr(4, close - 4);
        if (number.empty() || number.size() > 8 || number.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            throw ParseError{"bad type in hex(...)"};
        }
        value.type = static_cast<DWORD>(std::stoul(number, nullptr, 16));
        value.data = ReadHexBytes(data.substr(close + 2));
    } else {
        throw ParseError{"unknown value type"};
    }
    return value;
}

// The registry editor passes comment lines over; the one naming the view must come before the first key and name
// a view this program knows, for a file restored into a guessed view would write somewhere else.
void ReadComment(const std::string& line, RollbackContent& content)
{
    const std::string mark = RollbackViewComment;
    if (line.compare(0, mark.size(), mark) != 0) {
        return;
    }
    const std::string name = line.substr(mark.size());
    const std::optional<RegistryView> view = name == SharedViewName ? RegistryView::Default : ViewNamed(name);
    if (!view || !content.keys.empty() || content.viewNamed) {
        throw ParseError{"a registry view this program does not know, named twice, or named after a key"};
    }
    content.view = *view;
    content.viewNamed = true;
}

}  // namespace

const char* RollbackViewName(RegistryView view) noexcept
{
    return view == RegistryView::Default ? SharedViewName : ViewName(view);
}

RegistryView UnnamedFileView() noexcept
{
    return IsWindows64() ? RegistryView::Bits32 : RegistryView::Default;
}

int RollbackContent::ValueCount() const
{
    int count = 0;
    for (const RollbackKey& key : keys) {
        count += static_cast<int>(key.values.size());
    }
    return count;
}

RollbackParseResult ParseRollbackText(const std::string& text)
{
    RollbackParseResult result;
    int current = 1;
    try {
        const std::vector<LogicalLine> lines = JoinLines(text, current);
        if (lines.empty() || lines[0].text != "REGEDIT4") {
            current = 1;
            throw ParseError{"the first line is not REGEDIT4"};
        }
        for (size_t i = 1; i < lines.size(); ++i) {
            const std::string& line = lines[i].text;
            current = lines[i].number;
            if (line.empty()) {
                continue;
            }
            if (line.front() == ';') {
                ReadComment(line, result.content);
            } else if (line.front() == '[') {
                if (line.back() != ']' || line.size() < 3) {
                    throw ParseError{"key header without its closing ']'"};
                }
                RollbackKey key;
                key.root = RootFromPath(line.substr(1, line.size() - 2), key.path);
                result.content.keys.push_back(std::move(key));
            } else if (line.front() == '"' || line.front() == '@') {
                if (result.content.keys.empty()) {
                    throw ParseError{"value line before any key header"};
                }
                result.content.keys.back().values.push_back(ReadValue(line));
            } else {
                throw ParseError{"a line that is neither a key header nor a value"};
            }
        }
        if (!result.content.viewNamed) {
            result.content.view = UnnamedFileView();
        }
        result.ok = true;
    } catch (const ParseError& error) {
        result.errorLine = current;
        result.error = error.message;
        result.content = {};
    }
    return result;
}

RollbackParseResult ParseRollbackFile(const std::string& path)
{
    RollbackParseResult refused;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    if (size > MaxRollbackFileSize) {
        refused.error = "the file is larger than " + std::to_string(MaxRollbackFileSize >> 20) +
                        " MB, too large for a rollback file";
        return refused;
    }
    std::string text(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (size < 0 || !in.seekg(0) || !in.read(text.data(), size)) {
        refused.error = "cannot read the file";
        return refused;
    }
    return ParseRollbackText(text);
}

int ApplyRollback(const RollbackContent& content)
{
    int failures = 0;
    for (const RollbackKey& key : content.keys) {
        UniqueHkey handle;
        if (RegCreateKeyExA(key.root, key.path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_SET_VALUE | AccessOf(content.view), nullptr, handle.put(), nullptr) != ERROR_SUCCESS) {
            failures += 1 + static_cast<int>(key.values.size());
            continue;
        }
        for (const RollbackValue& value : key.values) {
            failures += RegSetValueExA(handle.get(), value.name.c_str(), 0, value.type, value.data.data(),
                                       static_cast<DWORD>(value.data.size())) != ERROR_SUCCESS;
        }
    }
    return failures;
}
