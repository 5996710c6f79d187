// A broken entry of each newer category, planted as a removed program leaves it, repaired and restored through the
// real registry: what comes back is what was there, byte for byte.
#include "repair/DeleteAction.h"
#include "repair/RollbackReader.h"
#include "scanners/Categories.h"
#include "testsupport/PlantFixture.h"

#include "tests/repair/RepairTestSupport.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The one planted issue a scan of the category finds.
Ref<ScanIssue> PlantedIssue(Category category)
{
    const std::unique_ptr<RegistryScanner> scanner = InfoOf(category).make(nullptr);
    Ref<ScanIssue> planted;
    for (const Ref<ScanIssue>& issue : ScanFor(*scanner, "")) {
        if (NamesPlantedEntry(issue->Name())) {
            EXPECT_FALSE(planted) << issue->Name();
            planted = issue;
        }
    }
    return planted;
}

}  // namespace

TEST(CategoryRoundTripTest, ARepairOfEachCategoryIsUndoneExactly)
{
    for (const Category category :
         {Category::TypeLibrary, Category::Interface, Category::ShellExtension, Category::MuiCache}) {
        SCOPED_TRACE(InfoOf(category).name);
        ScratchFolder folder("category-round-trip");
        CurrentFolder here(folder.Path());
        PlantFixture fixture(folder.Path() + "\\plant");
        ASSERT_TRUE(fixture.Plant(category, 0, 1)) << fixture.LastError();
        const Ref<ScanIssue> issue = PlantedIssue(category);
        ASSERT_TRUE(issue);
        RepairTarget* target = issue->Target();
        const RegistryKey* key = target->AsRegistryValue() ? target->AsRegistryValue()->Key() : target->AsRegistryKey();
        const KeySnapshot before = Snapshot(key->RootHandle(), key->RelativePath());

        ASSERT_TRUE(CreateRepairAction()->Fix(issue.get()));
        EXPECT_TRUE(target->IsGone());
        int restored = 0;
        for (const std::string& name : FilesHere()) {
            if (name.rfind("rollback", 0) == 0) {
                const RollbackParseResult parsed = ParseRollbackFile(name);
                ASSERT_TRUE(parsed.ok) << name << " line " << parsed.errorLine << ": " << parsed.error;
                EXPECT_EQ(ApplyRollback(parsed.content), 0) << name;
                ++restored;
            }
        }
        EXPECT_EQ(restored, 1);
        EXPECT_EQ(Snapshot(key->RootHandle(), key->RelativePath()), before);
        EXPECT_TRUE(fixture.RemoveAll()) << fixture.LastError();
    }
}
