#include "engine/IniStore.h"
#include "engine/IssueList.h"
#include "scanners/ShortcutScanner.h"
#include "testsupport/ShellLinkWriter.h"
#include "tests/support/Scratch.h"
#include "tests/support/Shortcuts.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

namespace {

// The target as the system's own shell-link object reads it from the file.
std::string TargetOf(const std::string& linkPath)
{
    const std::optional<Shortcut> link = ReadShortcut(linkPath);
    return link ? link->target : "<not loaded>";
}

}  // namespace

TEST(ShellLinkWriterTest, TheSystemReadsTheTargetBack)
{
    ScratchFolder folder("link-writer");
    const std::string present = folder.AddFile("Some Folder\\target file.txt");
    const std::string gone = folder.Path() + "\\Gone Folder\\gone.exe";
    ASSERT_TRUE(WriteShellLink(folder.Path() + "\\present.lnk", present));
    ASSERT_TRUE(WriteShellLink(folder.Path() + "\\gone.lnk", gone));
    EXPECT_EQ(TargetOf(folder.Path() + "\\present.lnk"), present);
    EXPECT_EQ(TargetOf(folder.Path() + "\\gone.lnk"), gone);

    // The shortcut scanner judges written shortcuts like any other.
    IniStore ini;
    ini.Load(folder.AddFile("Corvadin.ini", "[Shortcut]\r\na=" + folder.Path() + "\r\n"));
    ShortcutScanner scanner(&ini);
    IssueList list;
    scanner.Scan(&list);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.At(0)->Description(), " missing target file:" + gone);
}

TEST(ShellLinkWriterTest, RefusesWhatTheFormatCannotHold)
{
    ScratchFolder folder("link-writer-refuses");
    EXPECT_FALSE(WriteShellLink(folder.Path() + "\\empty.lnk", ""));
    EXPECT_FALSE(WriteShellLink(folder.Path() + "\\long.lnk", "C:\\" + std::string(300, 'x')));
    EXPECT_FALSE(WriteShellLink(folder.Path() + "\\no such folder\\x.lnk", "C:\\x.txt"));
}
