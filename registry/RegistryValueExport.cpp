// A value as a line of a REGEDIT4 rollback file, written so that the registry editor
// imports the very bytes that were read.
#include "registry/RegistryValue.h"

#include <algorithm>
#include <cstdio>

namespace {

// A quoted REGEDIT4 text escapes backslashes and double quotes, and nothing else.
std::string Quoted(const char* text, size_t length)
{
    std::string quoted;
    quoted.reserve(length + length / 8 + 2);
    quoted += '"';
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\\' || text[i] == '"') {
            quoted += '\\';
        }
        quoted += text[i];
    }
    quoted += '"';
    return quoted;
}

std::string Quoted(const std::string& text)
{
    return Quoted(text.data(), text.size());
}

// Comma-separated lower-case hex bytes; the first line holds 21 bytes, each
// continuation line 26, and a wrap is written after a line's last byte even when
// no byte follows.
std::string HexBytes(const std::vector<BYTE>& data)
{
    std::string hex;
    hex.reserve(data.size() * 3 + data.size() / 26 * 5 + 8);
    int untilWrap = 20;
    bool lineStart = true;
    for (BYTE byte : data) {
        char digits[4];
        snprintf(digits, sizeof digits, lineStart ? "%02x" : ",%02x", byte);
        hex += digits;
        lineStart = false;
        if (untilWrap == 0) {
            hex += ",\\\n  ";
            untilWrap = 25;
            lineStart = true;
        } else {
            --untilWrap;
        }
    }
    return hex;
}

std::string HexOfType(int type, const std::vector<BYTE>& data)
{
    char prefix[24];
    snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(type));
    return prefix + HexBytes(data);
}

// The quoted form keeps a text only when it is one line and nothing follows its
// terminating zero; anything else would reach the registry changed.
bool FitsQuotedText(const std::vector<BYTE>& data)
{
    const auto zero = std::find(data.begin(), data.end(), BYTE{0});
    if (zero != data.end() && zero + 1 != data.end()) {
        return false;
    }
    return std::none_of(data.begin(), zero, [](BYTE c) { return c == '\r' || c == '\n'; });
}

std::string DataText(int type, const std::vector<BYTE>& data)
{
    switch (type) {
    case REG_SZ:
        if (FitsQuotedText(data)) {
            const char* text = reinterpret_cast<const char*>(data.data());
            return Quoted(text, std::find(text, text + data.size(), '\0') - text);
        }
        return HexOfType(type, data);
    case REG_DWORD:
        if (data.size() == sizeof(DWORD)) {
            const DWORD number = data[0] | data[1] << 8 | data[2] << 16 | static_cast<DWORD>(data[3]) << 24;
            char text[24];
            snprintf(text, sizeof text, "dword:%08lx", static_cast<unsigned long>(number));
            return text;
        }
        // A number of another size is kept byte for byte rather than cut or padded.
        return HexOfType(type, data);
    case REG_BINARY:
        return "hex:" + HexBytes(data);
    default:
        return HexOfType(type, data);
    }
}

}  // namespace

std::string RegistryValue::ToExportLine() const
{
    const std::string name = name_.empty() ? "@" : Quoted(name_);
    // The size stays -1 when the value could not be read, whatever the type says.
    if (size_ < 0) {
        return "; " + name + " could not be read";
    }
    return name + "=" + DataText(type_, data_);
}
