#include "repair/RollbackReader.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

namespace {

const std::string Header = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\CorvadinTest\\Reader]\n";

RollbackParseResult Parse(const std::string& body)
{
    return ParseRollbackText(Header + body);
}

std::vector<BYTE> Bytes(std::initializer_list<int> values)
{
    return std::vector<BYTE>(values.begin(), values.end());
}

}  // namespace

TEST(RollbackReaderTest, ReadsEveryLineShapeTheWriterMakes)
{
    std::string wrapped = "\"wrapped\"=hex:";
    for (int i = 0; i < 21; ++i) {
        wrapped += (i ? "," : "") + std::string("0a");
    }
    wrapped += ",\\\n  \n";
    const RollbackParseResult result = Parse(
        "\"path\"=\"C:\\\\dir \\\"quoted\\\"\"\n"
        "@=dword:00000010\n"
        "\"bin\"=hex:01,02,03\n"
        "\"empty\"=hex:\n"
        "\"exp\"=hex(2):25,00\n"
        "\"q \\\"name\\\" \\\\ x\"=hex(b):01,02,03,04,05,06,07,08\n" +
        wrapped + "\n\n[HKEY_LOCAL_MACHINE\\Software\\CorvadinTest\\Other]\n\n\n");
    ASSERT_TRUE(result.ok) << result.error << " at " << result.errorLine;
    ASSERT_EQ(result.content.keys.size(), 2u);
    const RollbackKey& key = result.content.keys[0];
    EXPECT_EQ(key.root, HKEY_CURRENT_USER);
    EXPECT_EQ(key.path, "Software\\CorvadinTest\\Reader");
    ASSERT_EQ(key.values.size(), 7u);
    EXPECT_EQ(key.values[0].name, "path");
    EXPECT_EQ(key.values[0].type, static_cast<DWORD>(REG_SZ));
    const std::string text = "C:\\dir \"quoted\"";
    std::vector<BYTE> expected(text.begin(), text.end());
    expected.push_back(0);
    EXPECT_EQ(key.values[0].data, expected);
    EXPECT_EQ(key.values[1].name, "");
    EXPECT_EQ(key.values[1].data, Bytes({0x10, 0, 0, 0}));
    EXPECT_EQ(key.values[2].data, Bytes({1, 2, 3}));
    EXPECT_TRUE(key.values[3].data.empty());
    EXPECT_EQ(key.values[4].type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(key.values[5].name, "q \"name\" \\ x");
    EXPECT_EQ(key.values[5].type, static_cast<DWORD>(REG_QWORD));
    EXPECT_EQ(key.values[6].data, std::vector<BYTE>(21, 0x0a));
    EXPECT_EQ(result.content.keys[1].root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(result.content.ValueCount(), 7);
}

TEST(RollbackReaderTest, DamagedFilesAreRefusedWithTheirLineNumber)
{
    struct Case {
        std::string text;
        int line;
    };
    const Case cases[] = {
        {"REGEDIT5\n\n", 1},
        {"", 1},
        {"REGEDIT4\n\n\"orphan\"=dword:00000001\n", 3},
        {Header + "\"a\"=hex:01,0g\n", 4},
        {Header + "\"a\"=hex:01,02,\\\n  0", 4},
        {Header + "\"a\"=hex:01,\\\n", 4},
        {Header + "\"a\"=str(1):x\n", 4},
        {Header + "\"a\"=hex(zz):01\n", 4},
        {Header + "\"a\"=\"unclosed\n", 4},
        {Header + "\"a\"=\"bad \\n escape\"\n", 4},
        {Header + "\"a\"=dword:123\n", 4},
        {Header + "[HKEY_NOWHERE\\x]\n", 4},
        {Header + "[HKEY_CURRENT_USER\\x\n", 4},
        {Header + "garbage\n", 4},
        {"REGEDIT4\n; registry view: 16-bit\n", 2},
        {Header + "; registry view: 32-bit\n", 4},
    };
    for (const Case& c : cases) {
        const RollbackParseResult result = ParseRollbackText(c.text);
        EXPECT_FALSE(result.ok) << c.text;
        EXPECT_EQ(result.errorLine, c.line) << c.text << " -> " << result.error;
        EXPECT_FALSE(result.error.empty());
        EXPECT_TRUE(result.content.keys.empty());
    }
}

TEST(RollbackReaderTest, TheViewLineNamesTheViewAndFilesWithoutOneAreAnEarlierVersions)
{
    const RollbackParseResult viewed = ParseRollbackText("REGEDIT4\n; registry view: 32-bit\n; a note\n\n" +
                                                         Header.substr(10) + "\"a\"=\"b\"\n");
    ASSERT_TRUE(viewed.ok) << viewed.error;
    EXPECT_EQ(viewed.content.view, RegistryView::Bits32);
    EXPECT_EQ(viewed.content.ValueCount(), 1);
    EXPECT_EQ(ParseRollbackText("REGEDIT4\n; registry view: shared\n").content.view, RegistryView::Default);
    EXPECT_EQ(Parse("\"a\"=\"b\"\n").content.view, UnnamedFileView());
}

TEST(RollbackReaderTest, CarriageReturnLineEndsAreAccepted)
{
    const RollbackParseResult result =
        ParseRollbackText("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n\"a\"=hex:01,\\\r\n  02\r\n");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.content.keys[0].values[0].data, Bytes({1, 2}));
}

TEST(RollbackReaderTest, ApplyingCreatesKeysAndValues)
{
    ScratchKey scratch("Reader");
    const RollbackParseResult result =
        Parse("\"a\"=\"text\"\n@=dword:00000005\n\n[HKEY_CURRENT_USER\\Software\\CorvadinTest\\Reader\\Empty]\n\n");
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(ApplyRollback(result.content), 0);
    EXPECT_TRUE(scratch.HasValue("", "a"));
    EXPECT_TRUE(scratch.HasValue("", ""));
    EXPECT_TRUE(scratch.HasSubkey("Empty"));
}

TEST(RollbackReaderTest, AMissingFileIsAnError)
{
    const RollbackParseResult result = ParseRollbackFile("C:\\no\\such\\rollback.reg");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorLine, 0);
}
