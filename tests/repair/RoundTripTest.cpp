// The proof that a repair can be undone: plant values of every type, repair them,
// import the rollback files (with the registry editor, and with our own reader) and
// compare byte for byte.
#include "repair/DeleteAction.h"
#include "repair/RollbackReader.h"

#include "tests/repair/RepairTestSupport.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

const std::string RoundTripKey = "Software\\CorvadinTest\\RoundTrip";

std::string FilledBytes(size_t n)
{
    std::string bytes;
    for (size_t i = 0; i < n; ++i) {
        bytes += static_cast<char>(i * 37 + 11);
    }
    return bytes;
}

// Every kind of value a scanner may meet, under the key at subkey.
void PlantEveryType(const ScratchKey& scratch, const std::string& subkey)
{
    const auto set = [&](const std::string& name, DWORD type, const std::string& data) {
        scratch.Set(subkey, name, type, data.data(), static_cast<DWORD>(data.size()));
    };
    std::string longText;
    for (int i = 0; i < 10000; ++i) {
        longText += "ab\\\"c"[i % 5];
    }
    set("", REG_SZ, std::string("default text\0", 13));
    set("quotes", REG_SZ, std::string("say \"hi\" to C:\\dir\\\0", 20));
    set("C:\\Program Files\\Shared\\a.dll", REG_SZ, std::string("\"C:\\x.exe\" /a\0", 14));
    set("name \"with\" quotes", REG_SZ, std::string("v\0", 2));
    set("long text", REG_SZ, longText + '\0');
    set("lines", REG_SZ, std::string("one\r\ntwo\0", 9));
    set("expand", REG_EXPAND_SZ, std::string("%SystemRoot%\\system32\\x.dll\0", 28));
    set("multi", REG_MULTI_SZ, std::string("a\0b\\c\0\"d\"\0\0", 11));
    for (size_t n : {0, 1, 21, 22, 47, 1000}) {
        set("binary " + std::to_string(n), REG_BINARY, FilledBytes(n));
    }
    set("dword", REG_DWORD, std::string("\xef\xbe\xad\xde", 4));
    set("qword", REG_QWORD, FilledBytes(8));
    set("none", REG_NONE, FilledBytes(3));
    set("empty none", REG_NONE, "");
}

// Wine's registry editor reads on past an empty continuation line, so a hex value
// ending exactly at a wrap swallows the line after it. Only the copy given to it
// drops the empty continuation; the files themselves are compared as written.
std::string WithoutEmptyContinuations(std::string text)
{
    for (size_t at; (at = text.find(",\\\n  \n")) != std::string::npos;) {
        text.replace(at, 6, "\n");
    }
    return text;
}

int ImportRollbackFiles()
{
    int imported = 0;
    for (const std::string& name : FilesHere()) {
        if (name.rfind("rollback", 0) != 0) {
            continue;
        }
        const std::string copy = "import-" + name;
        std::ofstream(copy, std::ios::binary) << WithoutEmptyContinuations(ReadWholeFile(name));
        EXPECT_EQ(ImportWithRegedit(copy), 0u) << name;
        ++imported;
    }
    return imported;
}

// Plants values of every type in a key and in a tree, repairs every value and the
// tree, and compares what an import brings back with what was planted.
class RoundTripTest : public ::testing::Test {
protected:
    void PlantAndRepair()
    {
        PlantEveryType(scratch_, "Values");
        PlantEveryType(scratch_, "Tree");
        for (const char* level1 : {"One", "Two \"quoted\"", "Three"}) {
            for (const char* level2 : {"A", "B"}) {
                for (const char* level3 : {"x", "y", "z"}) {
                    const std::string path = std::string("Tree\\") + level1 + "\\" + level2 + "\\" + level3;
                    scratch_.SetString(path, "at", path);
                    PlantEveryType(scratch_, std::string("Tree\\") + level1 + "\\" + level2);
                }
            }
        }
        scratch_.CreateSubkey("Tree\\Empty");
        planted_ = Snapshot(HKEY_CURRENT_USER, RoundTripKey);
        ASSERT_EQ(planted_.at("\\Values").size(), 18u);
        ASSERT_EQ(planted_.size(), 1 + 2 + 1 + 3 + 6 + 18u);

        for (const auto& [name, value] : planted_.at("\\Values")) {
            Ref<ScanIssue> issue = ValueIssueFor(HKEY_CURRENT_USER, RoundTripKey, "Values", name);
            EXPECT_TRUE(CreateRepairAction()->Fix(issue.get())) << name;
        }
        EXPECT_TRUE(CreateRepairAction()->Fix(KeyIssueFor(HKEY_CURRENT_USER, RoundTripKey, "Tree").get()));
        const KeySnapshot repaired = Snapshot(HKEY_CURRENT_USER, RoundTripKey);
        EXPECT_EQ(repaired, (KeySnapshot{{"", {}}, {"\\Values", {}}}));
    }

    void ExpectEverythingRestored() const
    {
        const KeySnapshot restored = Snapshot(HKEY_CURRENT_USER, RoundTripKey);
        EXPECT_EQ(restored.size(), planted_.size());
        for (const auto& [path, values] : planted_) {
            ASSERT_TRUE(restored.count(path)) << path;
            for (const auto& [name, value] : values) {
                const auto found = restored.at(path).find(name);
                ASSERT_NE(found, restored.at(path).end()) << path << " " << name;
                EXPECT_EQ(found->second.type, value.type) << path << " " << name;
                EXPECT_EQ(found->second.bytes, value.bytes) << path << " " << name;
            }
            EXPECT_EQ(restored.at(path).size(), values.size()) << path;
        }
    }

    ScratchKey scratch_{"RoundTrip"};
    ScratchFolder folder_{"roundtrip"};
    CurrentFolder here_{folder_.Path()};
    KeySnapshot planted_;
};

}  // namespace

TEST_F(RoundTripTest, RegistryEditorRestoresEveryDeletedKeyAndValueExactly)
{
    PlantAndRepair();

    // The wrap at the end of 21 and 47 bytes is written as the format has it.
    std::string treeText;
    for (const std::string& name : FilesHere()) {
        const std::string text = ReadWholeFile(name);
        treeText = text.find("\\Tree]\n") != std::string::npos ? text : treeText;
    }
    EXPECT_NE(treeText.find(",\\\n  \n\"binary 22\"=hex:"), std::string::npos);

    EXPECT_EQ(ImportRollbackFiles(), 19);
    ExpectEverythingRestored();
}

TEST_F(RoundTripTest, OurReaderRestoresEveryDeletedKeyAndValueExactly)
{
    PlantAndRepair();

    int restored = 0;
    for (const std::string& name : FilesHere()) {
        const RollbackParseResult parsed = ParseRollbackFile(name);
        ASSERT_TRUE(parsed.ok) << name << " line " << parsed.errorLine << ": " << parsed.error;
        EXPECT_EQ(ApplyRollback(parsed.content), 0) << name;
        ++restored;
    }
    EXPECT_EQ(restored, 19);
    ExpectEverythingRestored();
}
