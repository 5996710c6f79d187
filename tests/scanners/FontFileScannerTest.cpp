#include "scanners/FileChecks.h"
#include "tests/scanners/QuietChecks.h"
#include "scanners/FontFileScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string FontList = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
const std::string FontValues = "HKEY_LOCAL_MACHINE\\" + FontList + "\\";

std::string FontFolder()
{
    char folder[MAX_PATH];
    ExpandEnvironmentStringsA("%SystemRoot%\\Fonts\\", folder, MAX_PATH);
    return folder;
}

// A file put into the font folder for one test.
class PlantedFontFile {
public:
    explicit PlantedFontFile(const std::string& name) : path_(FontFolder() + name)
    {
        CreateDirectoryA(FontFolder().c_str(), nullptr);
        FILE* out = fopen(path_.c_str(), "wb");
        fputs("font", out);
        fclose(out);
    }
    ~PlantedFontFile() { DeleteFileA(path_.c_str()); }
    PlantedFontFile(const PlantedFontFile&) = delete;
    PlantedFontFile& operator=(const PlantedFontFile&) = delete;

private:
    std::string path_;
};

}  // namespace

TEST(FontFileScannerTest, ReportsFontsWhoseFileIsMissing)
{
    PlantedFontFile present("corvadintest-present.ttf");
    ScratchFolder folder("fonts");
    const std::string ownFile = folder.AddFile("own font.ttf");

    PlantedRegistry planted;
    planted.SetString(HKEY_LOCAL_MACHINE, FontList, "CorvadinTest Present (TrueType)", "corvadintest-present.ttf");
    planted.SetString(HKEY_LOCAL_MACHINE, FontList, "CorvadinTest Gone (TrueType)", "corvadintest-gone.ttf");
    planted.SetString(HKEY_LOCAL_MACHINE, FontList, "CorvadinTest Own (TrueType)", ownFile);
    planted.SetString(HKEY_LOCAL_MACHINE, FontList, "CorvadinTest OwnGone (TrueType)", folder.Path() + "\\gone.ttf");
    planted.SetString(HKEY_LOCAL_MACHINE, FontList, "CorvadinTest Expand (TrueType)",
                      "%SystemRoot%\\Fonts\\corvadintest-present.ttf", REG_EXPAND_SZ);
    planted.SetString(HKEY_LOCAL_MACHINE, FontList, "CorvadinTest AbsentDrive (TrueType)",
                      AbsentDrive() + "\\Fonts\\away.ttf");
    planted.SetDword(HKEY_LOCAL_MACHINE, FontList, "CorvadinTest Number", 3);

    FontFileScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);

    const std::string fonts = FontFolder();
    EXPECT_EQ(ReportedInAnyOrder(list, "CorvadinTest"),
              (std::vector<std::string>{
                  FontValues + "CorvadinTest Gone (TrueType)|font:CorvadinTest Gone (TrueType)missing file:" + fonts +
                      "corvadintest-gone.ttf",
                  FontValues + "CorvadinTest Number|font:CorvadinTest Numbermissing file:" + fonts,
                  FontValues + "CorvadinTest OwnGone (TrueType)|font:CorvadinTest OwnGone (TrueType)missing file:" +
                      folder.Path() + "\\gone.ttf",
              }));
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.At(i)->Kind(), ValueIssue);
        EXPECT_EQ(list.At(i)->Source(), "Font Files");
    }
}

// Whatever the machine has installed, no font whose file is there may be reported:
// the repair would unregister it.
TEST(FontFileScannerTest, NoInstalledFontIsReported)
{
    FontFileScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);
    for (int i = 0; i < list.Count(); ++i) {
        const std::string file = static_cast<RegistryValue*>(list.At(i)->Target())->GetString(0);
        EXPECT_FALSE(FileExists(file)) << list.At(i)->Description();
        EXPECT_FALSE(FileExists(FontFolder() + file)) << list.At(i)->Description();
    }
}

TEST(FontFileScannerTest, LogsItsStartAndEachIssue)
{
    ScratchFolder folder("fonts-log");
    PlantedRegistry planted;
    planted.SetString(HKEY_LOCAL_MACHINE, FontList, "CorvadinTest Gone (TrueType)", "corvadintest-gone.ttf");
    FontFileScanner scanner(nullptr);
    const std::vector<std::string> lines = LoggedScan(scanner, folder.Path() + "\\scan.log");
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], "Font Files:start");
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "Font Files:font:CorvadinTest Gone (TrueType)missing file:" + FontFolder() +
                            "corvadintest-gone.ttf"),
              lines.end());
}

TEST(FontFileScannerTest, AStopRequestEndsTheWalkAtTheNextEntryAndKeepsWhatWasFound)
{
    PlantedRegistry planted;
    planted.SetString(HKEY_LOCAL_MACHINE, FontList, "CorvadinTest Stop1", "corvadintest-stop1.ttf");
    planted.SetString(HKEY_LOCAL_MACHINE, FontList, "CorvadinTest Stop2", "corvadintest-stop2.ttf");
    FontFileScanner scanner(nullptr);
    StopSink stop(scanner, "CorvadinTest Stop1");
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(Reported(list, "CorvadinTest"),
              (std::vector<std::string>{FontValues + "CorvadinTest Stop1|font:CorvadinTest Stop1missing file:" +
                                        FontFolder() + "corvadintest-stop1.ttf"}));
}
