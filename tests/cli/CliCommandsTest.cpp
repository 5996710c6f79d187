#include "cli/CliCommands.h"
#include "cli/ConsoleText.h"
#include "engine/ScanIssue.h"
#include "registry/ComApartment.h"
#include "repair/BackupName.h"
#include "scanners/Grades.h"
#include "settings/SettingsStore.h"
#include "testsupport/PlantFixture.h"
#include "tests/support/Files.h"
#include "tests/support/LockedKey.h"
#include "tests/support/PlainRegistry.h"
#include "tests/support/Scratch.h"
#include "tests/support/Shortcuts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

namespace {

// A strict little JSON reader: enough to prove the output parses and to pull out
// the issues' fields.
class Json {
public:
    explicit Json(const std::string& text) : text_(text) {}

    // Parses one whole document; false on any syntax error.
    bool Parse()
    {
        Skip();
        if (!Value()) {
            return false;
        }
        Skip();
        return position_ == text_.size();
    }

    std::vector<std::string> strings;  // every string value and key, in order

private:
    bool Value()
    {
        Skip();
        if (position_ >= text_.size()) {
            return false;
        }
        const char c = text_[position_];
        if (c == '{') {
            return Sequence('}', true);
        }
        if (c == '[') {
            return Sequence(']', false);
        }
        if (c == '"') {
            return String();
        }
        const size_t start = position_;
        while (position_ < text_.size() && (isdigit(static_cast<unsigned char>(text_[position_])) ||
                                            text_[position_] == '-')) {
            ++position_;
        }
        return position_ > start;
    }
    bool Sequence(char close, bool object)
    {
        ++position_;
        Skip();
        if (Peek() == close) {
            ++position_;
            return true;
        }
        for (;;) {
            if (object && !(String() && (Skip(), Peek() == ':') && (++position_, true))) {
                return false;
            }
            if (!Value()) {
                return false;
            }
            Skip();
            if (Peek() == close) {
                ++position_;
                return true;
            }
            if (Peek() != ',') {
                return false;
            }
            ++position_;
            Skip();
        }
    }
    bool String()
    {
        Skip();
        if (Peek() != '"') {
            return false;
        }
        std::string value;
        for (++position_; position_ < text_.size(); ++position_) {
            const char c = text_[position_];
            if (c == '"') {
                ++position_;
                strings.push_back(value);
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return false;
            }
            if (c == '\\') {
                ++position_;
                if (Peek() == 'u') {
                    position_ += 4;
                } else if (Peek() != '"' && Peek() != '\\' && Peek() != '/') {
                    return false;
                }
            }
            value += text_[position_];
        }
        return false;
    }
    char Peek() const { return position_ < text_.size() ? text_[position_] : '\0'; }
    void Skip()
    {
        while (position_ < text_.size() && isspace(static_cast<unsigned char>(text_[position_]))) {
            ++position_;
        }
    }

    std::string text_;
    size_t position_ = 0;
};

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result Invoke(std::vector<std::string> args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

// A Run value in the user's Run key whose program is gone.
class BrokenRunValue {
public:
    explicit BrokenRunValue(const std::string& name) : name_(name)
    {
        planted_.SetString(HKEY_CURRENT_USER, path, name, "\"C:\\Corvadin Gone\\agent \"x\".exe\" /min");
    }
    bool Present() const { return ValueExists(HKEY_CURRENT_USER, path, name_); }

    static constexpr const char* path = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

private:
    std::string name_;
    PlantedRegistry planted_;
};

// The id that a scan's JSON gives the issue whose line holds name.
std::string IdOf(const std::string& json, const std::string& name)
{
    const size_t at = json.find("\\" + name + "\"");
    const size_t id = at == std::string::npos ? at : json.find("\"id\": \"", json.rfind('\n', at));
    return id == std::string::npos ? std::string() : json.substr(id + 7, 16);
}

void WINAPI NewYear(LPSYSTEMTIME time)
{
    *time = SYSTEMTIME{2027, 1, 5, 1, 0, 0, 9, 0};
}

}  // namespace

TEST(CliCommandsTest, HelpAndBadUsage)
{
    EXPECT_EQ(Invoke({"--help"}).code, ExitClean);
    EXPECT_NE(Invoke({"--help"}).out.find("restore"), std::string::npos);
    for (const char* command : {"scan", "fix", "restore"}) {
        const Result help = Invoke({command, "--help"});
        EXPECT_EQ(help.code, ExitClean);
        EXPECT_NE(help.out.find(std::string("corvadin-cli ") + command), std::string::npos);
    }
    EXPECT_EQ(Invoke({}).code, ExitUsage);
    EXPECT_EQ(Invoke({"clean"}).code, ExitUsage);
    const Result unknown = Invoke({"scan", "--fast"});
    EXPECT_EQ(unknown.code, ExitUsage);
    EXPECT_NE(unknown.err.find("unknown option '--fast'"), std::string::npos);
    EXPECT_EQ(Invoke({"scan", "--category"}).code, ExitUsage);
    EXPECT_EQ(Invoke({"scan", "--category", "Nonsense", "--quiet"}).code, ExitUsage);
    // Never a place in a listing: only an id.
    EXPECT_EQ(Invoke({"fix", "--yes", "--issue", "1"}).code, ExitUsage);
    EXPECT_EQ(Invoke({"fix", "--yes", "--issue", "0123456789abcdefg"}).code, ExitUsage);
    EXPECT_EQ(Invoke({"fix", "--yes", "--from", "C:\\corvadin-none.json"}).code, ExitUsage);
    EXPECT_EQ(Invoke({"restore"}).code, ExitUsage);
    EXPECT_EQ(Invoke({"restore", "a.reg", "--list"}).code, ExitUsage);
}

TEST(CliCommandsTest, JsonParsesAndMatchesTheTable)
{
    BrokenRunValue broken("CorvadinCliJson");
    const Result json = Invoke({"scan", "--category", "startup PROGRAM", "--json", "--quiet"});
    EXPECT_EQ(json.code, ExitIssues);
    EXPECT_TRUE(json.err.empty()) << "progress stays off with --quiet";
    Json parsed(json.out);
    ASSERT_TRUE(parsed.Parse()) << json.out;
    // The scanner names its key as it opened it, so compare paths without regard to case.
    const std::string target = "HKEY_CURRENT_USER\\" + std::string(BrokenRunValue::path) + "\\CorvadinCliJson";
    const auto& s = parsed.strings;
    const auto found = std::find_if(s.begin(), s.end(), [&](const std::string& text) {
        return text.size() == target.size() && _stricmp(text.c_str(), target.c_str()) == 0;
    });
    ASSERT_NE(found, s.end()) << json.out;
    EXPECT_NE(std::find(s.begin(), s.end(), " missing file:\"C:\\Corvadin Gone\\agent \"x\".exe\" /min"), s.end());
    EXPECT_NE(std::find(s.begin(), s.end(), "Startup program"), s.end());

    // With progress shown, standard output still holds the JSON alone.
    const Result withProgress = Invoke({"scan", "--category", "Startup program", "--json"});
    EXPECT_TRUE(Json(withProgress.out).Parse()) << withProgress.out;

    const Result table = Invoke({"scan", "--category", "Startup program", "--quiet"});
    EXPECT_EQ(table.code, ExitIssues);
    EXPECT_NE(table.out.find(*found), std::string::npos);
    // Both list the same number of issues.
    const size_t count = json.out.find("\"count\": ");
    ASSERT_NE(count, std::string::npos);
    const int issues = std::stoi(json.out.substr(count + 9));
    EXPECT_EQ(std::count(s.begin(), s.end(), "target"), issues);
    EXPECT_NE(table.out.find("\n" + std::to_string(issues) + (issues == 1 ? " issue found." : " issues found.")),
              std::string::npos)
        << table.out;
}

TEST(CliCommandsTest, FixNeedsConfirmationThenRestoreBringsTheValueBack)
{
    ScratchFolder folder("cli-fix");
    CurrentFolder here(folder.Path());
    BrokenRunValue broken("CorvadinCliFix");

    const Result refused = Invoke({"fix", "--category", "Startup program", "--quiet"});
    EXPECT_EQ(refused.code, ExitUsage);
    EXPECT_TRUE(broken.Present());
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));

    // Take the planted issue's id from the listing. Another broken entry and a scan of every category come in
    // between: only the reviewed issue is repaired.
    const std::string id = IdOf(Invoke({"scan", "--category", "Startup program", "--json", "--quiet"}).out,
                                "CorvadinCliFix");
    ASSERT_EQ(id.size(), 16u);
    BrokenRunValue added("CorvadinCliFix0");
    const Result fixed = Invoke({"fix", "--yes", "--issue", id, "--issue", "0123456789abcdef", "--quiet"});
    EXPECT_EQ(fixed.code, ExitIssues) << "one id was not found";
    EXPECT_NE(fixed.out.find(id + "  Fixed"), std::string::npos) << fixed.out;
    EXPECT_NE(fixed.err.find("no issue 0123456789abcdef"), std::string::npos) << fixed.err;
    EXPECT_FALSE(broken.Present());
    EXPECT_TRUE(added.Present());

    std::vector<std::string> rollbacks;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        if (entry.path().extension() == ".reg") {
            rollbacks.push_back(entry.path().string());
        }
    }
    ASSERT_EQ(rollbacks.size(), 1u);
    const Result restored = Invoke({"restore", rollbacks[0]});
    EXPECT_EQ(restored.code, ExitClean) << restored.err;
    EXPECT_TRUE(broken.Present());
}

TEST(CliCommandsTest, FixFromASavedScanRepairsWhatItListsAndStillFails)
{
    ScratchFolder folder("cli-from");
    CurrentFolder here(folder.Path());
    BrokenRunValue listed("CorvadinCliFrom");
    BrokenRunValue mended("CorvadinCliMended");
    const std::string json = Invoke({"scan", "--category", "Startup program", "--json", "--quiet"}).out;
    const std::string saved = folder.AddFile("scan.json", json);
    BrokenRunValue later("CorvadinCliLater");
    WriteText(HKEY_CURRENT_USER, BrokenRunValue::path, "CorvadinCliMended", "notepad.exe");

    const Result fixed = Invoke({"fix", "--yes", "--from", saved, "--category", "Startup program", "--quiet"});
    EXPECT_FALSE(listed.Present());
    EXPECT_TRUE(mended.Present());
    EXPECT_TRUE(later.Present());
    EXPECT_NE(fixed.err.find("no issue " + IdOf(json, "CorvadinCliMended")), std::string::npos) << fixed.err;
}

TEST(CliCommandsTest, AKeyThatCannotBeReadMakesTheScanIncomplete)
{
    const LockedKey locked(HKEY_CURRENT_USER, BrokenRunValue::path);
    const Result scan = Invoke({"scan", "--category", "Startup program", "--json", "--quiet"});
    EXPECT_EQ(scan.code, ExitIncomplete);
    EXPECT_NE(scan.err.find("could not read HKEY_CURRENT_USER\\"), std::string::npos) << scan.err;
    EXPECT_TRUE(Json(scan.out).Parse()) << scan.out;
}

// Two categories are undone in one step, bar a shortcut the repair could not delete; with a damaged file, nothing is.
TEST(CliCommandsTest, RestoreRunUndoesAWholeRepair)
{
    ScratchFolder folder("cli-run");
    CurrentFolder here(folder.Path());
    const ComApartment com;
    const std::string link = folder.Path() + "\\links\\gone.lnk";
    const std::string kept = folder.Path() + "\\links\\kept.lnk";
    CreateDirectoryA((folder.Path() + "\\links").c_str(), nullptr);
    ASSERT_TRUE(SaveShortcut(link, "C:\\corvadin-gone\\doc.txt") && SaveShortcut(kept, "C:\\corvadin-gone\\x"));
    SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string linkBytes = ReadWholeFile(link);
    folder.AddFile("Corvadin.ini", "[Shortcut]\n1=" + folder.Path() + "\\links\n");
    BrokenRunValue broken("CorvadinCliRun");
    const std::string command = ValueText(HKEY_CURRENT_USER, BrokenRunValue::path, "CorvadinCliRun");

    const std::string json =
        Invoke({"scan", "--category", "Startup program", "--category", "Shortcut", "--json", "--quiet"}).out;
    const Result fixed = Invoke({"fix", "--yes", "--issue", IdOf(json, "CorvadinCliRun"), "--issue",
                                 IdOf(json, "gone.lnk"), "--issue", IdOf(json, "kept.lnk"), "--quiet"});
    ASSERT_EQ(fixed.code, ExitIssues) << fixed.out << fixed.err;
    ASSERT_FALSE(broken.Present());
    ASSERT_TRUE(!PathExists(link) && PathExists(kept));
    const size_t at = fixed.out.find("restore --run ");
    ASSERT_NE(at, std::string::npos) << fixed.out;
    const std::string run = fixed.out.substr(at + 14, fixed.out.find('\'', at) - at - 14);
    EXPECT_NE(Invoke({"restore", "--list"}).out.find(run + "  "), std::string::npos);

    std::string rollback;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        rollback = entry.path().extension() == ".reg" ? entry.path().string() : rollback;
    }
    const std::string sound = ReadWholeFile(rollback);
    folder.AddFile(std::filesystem::path(rollback).filename().string(), "REGEDIT4\n\n[damaged");
    EXPECT_EQ(Invoke({"restore", "--run", run}).code, ExitIssues);
    EXPECT_FALSE(PathExists(link));

    folder.AddFile(std::filesystem::path(rollback).filename().string(), sound);
    const Result restored = Invoke({"restore", "--run", run});
    EXPECT_EQ(restored.code, ExitClean) << restored.err;
    EXPECT_EQ(ValueText(HKEY_CURRENT_USER, BrokenRunValue::path, "CorvadinCliRun"), command);
    EXPECT_EQ(ReadWholeFile(link), linkBytes);
    SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A folder took the name of the run's record: the repair says that the run cannot be undone in one step.
TEST(CliCommandsTest, ARunRecordThatCannotBeWrittenIsReported)
{
    ScratchFolder folder("cli-record");
    CurrentFolder here(folder.Path());
    BrokenRunValue broken("CorvadinCliRecord");
    const std::string json = Invoke({"scan", "--category", "Startup program", "--json", "--quiet"}).out;
    const LocalTimeReader previous = SetLocalTimeReader(NewYear);
    const std::string backup = BackupFileName(ValueIssue, SYSTEMTIME{2027, 1, 5, 1, 0, 0, 9, 0}, RepairCounter());
    CreateDirectoryA(("run" + backup.substr(8, backup.size() - 12) + ".txt").c_str(), nullptr);
    const Result fixed = Invoke({"fix", "--yes", "--issue", IdOf(json, "CorvadinCliRecord"), "--json", "--quiet"});
    SetLocalTimeReader(previous);
    EXPECT_EQ(fixed.code, ExitIssues);
    EXPECT_NE(fixed.err.find("could not be written in full"), std::string::npos) << fixed.err;
    EXPECT_NE(fixed.out.find("\"runRecordComplete\": false"), std::string::npos) << fixed.out;
}

// An ignored entry is neither listed nor counted, until it is let back in; the stored choice of categories holds
// unless --category is given; the report carries what a central collection needs.
TEST(CliCommandsTest, IgnoredEntriesAndLeftOutCategoriesStayOutOfScans)
{
    BrokenRunValue broken("CorvadinCliIgnored");
    const std::vector<std::string> scan = {"scan", "--category", "Startup program", "--json", "--quiet"};
    const std::string id = IdOf(Invoke(scan).out, "CorvadinCliIgnored");
    ASSERT_EQ(id.size(), 16u);
    const Result added = Invoke({"ignore", "add", "--category", "Startup program", id});
    ASSERT_EQ(added.code, ExitClean) << added.err;
    const std::string key = added.out.substr(added.out.find("Ignored ") + 8, 16);

    Result ignored = Invoke(scan);
    Json parsed(ignored.out);
    ASSERT_TRUE(parsed.Parse()) << ignored.out;
    EXPECT_EQ(IdOf(ignored.out, "CorvadinCliIgnored"), "");
    const size_t category = ignored.out.find("\"name\": \"Startup program\", \"state\": \"scanned\"");
    ASSERT_NE(category, std::string::npos) << ignored.out;
    EXPECT_GE(std::stoi(ignored.out.substr(ignored.out.find("\"ignored\": ", category) + 11)), 1);
    for (const char* field : {"machine", "user", "version", "started", "ended", "categories", "exitCode"}) {
        EXPECT_NE(std::find(parsed.strings.begin(), parsed.strings.end(), field), parsed.strings.end()) << field;
    }
    EXPECT_NE(Invoke({"ignore", "list"}).out.find(key + "  Startup program  HKEY_CURRENT_USER"), std::string::npos);
    EXPECT_EQ(Invoke({"ignore", "remove", key}).code, ExitClean);
    EXPECT_EQ(IdOf(Invoke(scan).out, "CorvadinCliIgnored"), id);
    // A value stored under another name (by hand, by a policy) is removed by that name.
    const std::string entry = std::string("Startup program") + '\0' + "-" + '\0' + "HKEY_CURRENT_USER\\Policy" + '\0';
    ASSERT_TRUE(WriteText(HKEY_LOCAL_MACHINE, IgnoreListKeyPath(), "set by policy", entry, REG_MULTI_SZ));
    const std::string listed = Invoke({"ignore", "list"}).out;
    const size_t line = listed.find("  Startup program  HKEY_CURRENT_USER\\Policy");
    ASSERT_NE(line, std::string::npos) << listed;
    EXPECT_EQ(Invoke({"ignore", "remove", listed.substr(listed.rfind('\n', line) + 1, 16)}).code, ExitClean);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, IgnoreListKeyPath(), "set by policy"));

    // Every category but the help files left out.
    ASSERT_TRUE(WriteText(HKEY_LOCAL_MACHINE, SettingsKeyPath().c_str(), LeftOutCategoriesName,
                          "apppath;uninstall;fileext;fileextref;font;mru;shareddll;sharedfolder;run;com;bho;shortcut"));
    const std::string stored = Invoke({"scan", "--json", "--quiet"}).out;
    EXPECT_NE(stored.find("\"Startup program\", \"state\": \"left out\""), std::string::npos) << stored;
    EXPECT_NE(stored.find("\"HelpFile\", \"state\": \"scanned\""), std::string::npos) << stored;
    EXPECT_NE(Invoke(scan).out.find("\"Startup program\", \"state\": \"scanned\""), std::string::npos)
        << "--category wins over the stored choice";
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, SettingsKeyPath().c_str(), LeftOutCategoriesName);
}

TEST(CliCommandsTest, RestoreRefusesADamagedFileAndChangesNothing)
{
    ScratchFolder folder("cli-restore");
    ScratchKey scratch("CliRestore");
    const std::string file = folder.AddFile(
        "damaged.reg", "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\CorvadinTest\\CliRestore]\n\"a\"=\"1\"\n"
                       "\"b\"=hex:zz\n");
    const Result result = Invoke({"restore", file});
    EXPECT_EQ(result.code, ExitIssues);
    EXPECT_NE(result.err.find("line 5"), std::string::npos) << result.err;
    EXPECT_FALSE(scratch.HasValue("", "a"));
}

TEST(CliCommandsTest, JsonStringsAreEscapedUtf8)
{
    EXPECT_EQ(JsonString("a\"b\\c\td"), "\"a\\\"b\\\\c\\u0009d\"");
    EXPECT_EQ(JsonString(""), "\"\"");
    EXPECT_EQ(JsonString("\xE9"), "\"\xC3\xA9\"");  // e acute in the Western code page
}

// Every category's issue carries its grade and the evidence it rests on, each answer a clear one.
TEST(CliCommandsTest, JsonGivesEveryCategorysIssueItsGradeAndEvidence)
{
    ScratchFolder folder("cli-evidence");
    CurrentFolder here(folder.Path());
    PlantFixture fixture(folder.Path() + "\\fixture");
    ASSERT_TRUE(fixture.AddShortcutFolderToIni(".\\Corvadin.ini")) << fixture.LastError();
    for (int i = 0; i < CategoryCount; ++i) {
        ASSERT_TRUE(fixture.Plant(static_cast<Category>(i), 0, 1)) << fixture.LastError();
    }
    const Result scan = Invoke({"scan", "--json", "--quiet"});
    ASSERT_TRUE(Json(scan.out).Parse()) << scan.out;
    std::set<std::string> seen;
    std::istringstream lines(scan.out);
    for (std::string line; std::getline(lines, line);) {
        const size_t category = line.find("\"category\": \"");
        if (category == std::string::npos || !NamesPlantedEntry(line)) {
            continue;
        }
        const std::string name = line.substr(category + 13, line.find('"', category + 13) - category - 13);
        const auto planted = CategoryFromText(name);
        ASSERT_TRUE(planted) << line;
        seen.insert(name);
        EXPECT_NE(line.find(std::string("\"grade\": \"") + GradeName(GradeOf(*planted, AnyKind).grade) + "\""),
                  std::string::npos)
            << line;
        EXPECT_NE(line.find("\"evidence\": [{\"looked\": "), std::string::npos) << line;
        EXPECT_EQ(line.find("cannot tell"), std::string::npos) << line;
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(CategoryCount)) << scan.out;
    EXPECT_TRUE(fixture.RemoveAll()) << fixture.LastError();
}

// An entry that comes back after a repair is Expert: fix --yes leaves it, naming its id repairs it.
TEST(CliCommandsTest, AnEntryThatCameBackIsExpertAndRepairedOnlyWhenNamed)
{
    ScratchFolder folder("cli-came-back");
    CurrentFolder here(folder.Path());
    std::string id;
    {
        BrokenRunValue first("CorvadinCliBack");
        id = IdOf(Invoke({"scan", "--category", "Startup program", "--json", "--quiet"}).out, "CorvadinCliBack");
        ASSERT_EQ(Invoke({"fix", "--yes", "--issue", id, "--quiet"}).code, ExitClean);
        ASSERT_FALSE(first.Present());
    }
    BrokenRunValue again("CorvadinCliBack");
    const std::string json = Invoke({"scan", "--category", "Startup program", "--json", "--quiet"}).out;
    const size_t line = json.find("\"id\": \"" + id + "\"");
    ASSERT_NE(line, std::string::npos) << json;
    const std::string issue = json.substr(line, json.find('\n', line) - line);
    EXPECT_NE(issue.find("\"grade\": \"Expert\""), std::string::npos) << issue;
    EXPECT_NE(issue.find("came back after the repair of 20"), std::string::npos) << issue;
    EXPECT_NE(Invoke({"scan", "--category", "Startup program", "--grade", "expert", "--quiet"}).out.find(id),
              std::string::npos);

    const Result left = Invoke({"fix", "--yes", "--category", "Startup program", "--quiet"});
    EXPECT_NE(left.err.find("left alone Expert issue " + id), std::string::npos) << left.err;
    EXPECT_TRUE(again.Present());
    EXPECT_EQ(Invoke({"fix", "--yes", "--issue", id, "--quiet"}).code, ExitClean);
    EXPECT_FALSE(again.Present());
}
