#include "engine/IssueList.h"
#include "engine/ScanIssue.h"
#include "registry/FileItem.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

namespace {

class FileTarget : public FileItem {
public:
    FileTarget() : FileItem("Old Tool.lnk", "C:\\Desktop") {}
};

std::string NameOf(int kind, RepairTarget* target)
{
    Ref<ScanIssue> issue(new ScanIssue(kind, target, " d", "S"));
    return issue->Name();
}

}  // namespace

TEST(ScanIssueTest, TheNameColumnDependsOnTheKind)
{
    Ref<RegistryKey> nested(new RegistryKey(HKEY_CURRENT_USER, "Software\\A", "B"));
    Ref<RegistryKey> top(new RegistryKey(HKEY_CLASSES_ROOT, "", ".abc"));
    EXPECT_EQ(NameOf(KeyIssue, nested.get()), "Software\\A\\B");
    EXPECT_EQ(NameOf(KeyIssue, top.get()), "\\.abc");

    ScratchKey scratch("IssueName");
    scratch.SetString("", "a", "x");
    Ref<RegistryKey> key(new RegistryKey(HKEY_CURRENT_USER, "Software\\CorvadinTest", "IssueName"));
    Ref<RegistryValue> value = key->QueryValue("a");
    EXPECT_EQ(NameOf(ValueIssue, value.get()), "HKEY_CURRENT_USER\\Software\\CorvadinTest\\IssueName\\a");

    Ref<RegistryKey> underRoot(new RegistryKey(HKEY_CURRENT_USER, "", "Software"));
    Ref<RegistryValue> rootValue(new RegistryValue("v", underRoot.get()));
    EXPECT_EQ(NameOf(ValueIssue, rootValue.get()), "HKEY_CURRENT_USER\\\\Software\\v");

    Ref<FileTarget> file(new FileTarget);
    EXPECT_EQ(NameOf(FileIssue, file.get()), "C:\\DesktopOld Tool.lnk");
    EXPECT_EQ(NameOf(FolderIssue, file.get()), "C:\\DesktopOld Tool.lnk");
    EXPECT_EQ(NameOf(7, file.get()), "");
}

TEST(ScanIssueTest, MismatchedOrMissingTargetsGiveAnEmptyName)
{
    Ref<FileTarget> file(new FileTarget);
    EXPECT_EQ(NameOf(KeyIssue, file.get()), "");
    EXPECT_EQ(NameOf(ValueIssue, file.get()), "");
    EXPECT_EQ(NameOf(KeyIssue, nullptr), "");

    Ref<ScanIssue> issue(new ScanIssue(KeyIssue, nullptr, " text", "Source"));
    EXPECT_EQ(issue->Description(), " text");
    EXPECT_EQ(issue->Source(), "Source");
    EXPECT_EQ(issue->DisplayName(), issue->Name());
}

TEST(ScanIssueTest, TheListHoldsItsIssuesUntilItIsDestroyed)
{
    const long before = RefCounted::LiveObjects();
    {
        IssueList list;
        EXPECT_EQ(list.Count(), 0);
        EXPECT_EQ(list.At(0), nullptr);
        {
            Ref<FileTarget> target(new FileTarget);
            Ref<ScanIssue> first(new ScanIssue(FileIssue, target.get(), "1", "S"));
            Ref<ScanIssue> second(new ScanIssue(FileIssue, target.get(), "2", "S"));
            EXPECT_EQ(list.Add(first.get()), 0);
            EXPECT_EQ(list.Add(second.get()), 1);
        }
        // The scanner's own references are gone; the list's keep issues and target alive.
        EXPECT_EQ(RefCounted::LiveObjects(), before + 3);
        ASSERT_NE(list.At(1), nullptr);
        EXPECT_EQ(list.At(1)->Description(), "2");
        EXPECT_EQ(list.At(2), nullptr);
        EXPECT_EQ(list.At(-1), nullptr);
    }
    EXPECT_EQ(RefCounted::LiveObjects(), before);
}
