#include "registry/RegistryValue.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>

namespace {

class RegistryValueExportTest : public ::testing::Test {
protected:
    std::string LineOf(const std::string& name, DWORD type, const void* data, DWORD size)
    {
        scratch.Set("", name, type, data, size);
        return Read(name)->ToExportLine();
    }
    std::string LineOf(const std::string& name, const std::string& text, DWORD type = REG_SZ)
    {
        return LineOf(name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
    Ref<RegistryValue> Read(const std::string& name)
    {
        Ref<RegistryKey> key(new RegistryKey(scratch.Root(), "Software\\CorvadinTest", "Export"));
        return Ref<RegistryValue>(new RegistryValue(name, key.get()));
    }

    ScratchKey scratch{"Export"};
};

// The hex text of a value line split at its wraps: the bytes on each line.
std::vector<std::vector<int>> WrappedBytes(const std::string& hex)
{
    std::vector<std::vector<int>> lines(1);
    for (size_t at = 0; at < hex.size();) {
        if (hex.compare(at, 5, ",\\\n  ") == 0) {
            lines.emplace_back();
            at += 5;
        } else {
            lines.back().push_back(std::stoi(hex.substr(at + (hex[at] == ','), 2), nullptr, 16));
            at += hex[at] == ',' ? 3 : 2;
        }
    }
    return lines;
}

}  // namespace

TEST_F(RegistryValueExportTest, TextsAreQuotedWithBackslashesAndQuotesEscaped)
{
    EXPECT_EQ(LineOf("", "C:\\dir"), "@=\"C:\\\\dir\"");
    EXPECT_EQ(LineOf("C:\\Windows\\a \"b\".dll", ""), "\"C:\\\\Windows\\\\a \\\"b\\\".dll\"=\"\"");
    EXPECT_EQ(LineOf("Run", "\"C:\\Program Files\\x.exe\" /a"), "\"Run\"=\"\\\"C:\\\\Program Files\\\\x.exe\\\" /a\"");

    // Far beyond any fixed work area, and still whole.
    std::string text, escaped;
    for (int i = 0; i < 5000; ++i) {
        const char c = i % 2 ? '\\' : '"';
        text += c;
        escaped += std::string("\\") + c;
    }
    EXPECT_EQ(LineOf("long", text), "\"long\"=\"" + escaped + "\"");
}

TEST_F(RegistryValueExportTest, TextsTheQuotedFormWouldChangeAreWrittenAsBytes)
{
    // A line break would split the line; bytes after the first zero would be lost.
    EXPECT_EQ(LineOf("lines", "a\r\nb"), "\"lines\"=hex(1):61,0d,0a,62,00");
    EXPECT_EQ(LineOf("tail", REG_SZ, "a\0b", 4), "\"tail\"=hex(1):61,00,62,00");
    EXPECT_EQ(LineOf("bare", REG_SZ, "ab", 2), "\"bare\"=\"ab\"");
}

TEST_F(RegistryValueExportTest, NumbersAndOtherTypes)
{
    const DWORD number = 16;
    const uint64_t quad = 0x1122334455667788ull;
    EXPECT_EQ(LineOf("", REG_DWORD, &number, sizeof number), "@=dword:00000010");
    EXPECT_EQ(LineOf("short", REG_DWORD, "\x01\x02\x03", 3), "\"short\"=hex(4):01,02,03");
    EXPECT_EQ(LineOf("q", REG_QWORD, &quad, sizeof quad), "\"q\"=hex(b):88,77,66,55,44,33,22,11");
    EXPECT_EQ(LineOf("exp", "%A%", REG_EXPAND_SZ), "\"exp\"=hex(2):25,41,25,00");
    EXPECT_EQ(LineOf("multi", REG_MULTI_SZ, "a\0b\0", 5), "\"multi\"=hex(7):61,00,62,00,00");
    EXPECT_EQ(LineOf("none", REG_NONE, nullptr, 0), "\"none\"=hex(0):");
    EXPECT_EQ(LineOf("odd", 0x12345, "\xff", 1), "\"odd\"=hex(12345):ff");
}

TEST_F(RegistryValueExportTest, BinaryWrapsAfter21AndThenEvery26Bytes)
{
    const std::map<int, std::vector<size_t>> bytesPerLine = {
        {0, {0}},         {1, {1}},          {3, {3}},         {21, {21, 0}},
        {22, {21, 1}},    {47, {21, 26, 0}}, {48, {21, 26, 1}}};
    for (const auto& [n, expected] : bytesPerLine) {
        std::vector<BYTE> bytes(n);
        for (int i = 0; i < n; ++i) {
            bytes[i] = static_cast<BYTE>(i * 7);
        }
        const std::string line = LineOf("b", REG_BINARY, bytes.data(), n);
        ASSERT_EQ(line.rfind("\"b\"=hex:", 0), 0u) << line;
        std::vector<int> all;
        std::vector<size_t> counts;
        for (const std::vector<int>& part : WrappedBytes(line.substr(8))) {
            counts.push_back(part.size());
            all.insert(all.end(), part.begin(), part.end());
        }
        EXPECT_EQ(counts, expected) << n << " bytes";
        EXPECT_EQ(all, std::vector<int>(bytes.begin(), bytes.end())) << n << " bytes";
    }
    const BYTE bytes22[22] = {0,  7,  14, 21,  28,  35,  42,  49,  56,  63,  70,
                              77, 84, 91, 98, 105, 112, 119, 126, 133, 140, 147};
    EXPECT_EQ(LineOf("b", REG_BINARY, bytes22, 22),
              "\"b\"=hex:00,07,0e,15,1c,23,2a,31,38,3f,46,4d,54,5b,62,69,70,77,7e,85,8c,\\\n  93");
    std::vector<BYTE> many(1000, 0x5a);
    const std::vector<std::vector<int>> lines = WrappedBytes(LineOf("b", REG_BINARY, many.data(), 1000).substr(8));
    EXPECT_EQ(lines.size(), 39u);
    EXPECT_EQ(lines.back().size(), 1000u - 21 - 26 * 37);
}

TEST_F(RegistryValueExportTest, AnUnreadableValueInventsNoData)
{
    Ref<RegistryValue> missing = Read("not there");
    ASSERT_EQ(missing->Size(), -1);
    EXPECT_EQ(missing->ToExportLine(), "; \"not there\" could not be read");
}
