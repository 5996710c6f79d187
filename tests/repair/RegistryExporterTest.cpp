#include "repair/RegistryExporter.h"

#include "registry/RegistryKey.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

namespace {

const std::string Scratch = "Software\\CorvadinTest\\Exporter";
const std::string Header = "REGEDIT4\n; registry view: shared\n\n[HKEY_CURRENT_USER\\" + Scratch;

std::string Exported(const std::string& name, bool* complete = nullptr)
{
    RegistryExporter exporter;
    Ref<RegistryKey> key(new RegistryKey(HKEY_CURRENT_USER, Scratch, name));
    exporter.OnKey(key.get());
    if (complete) {
        *complete = exporter.IsComplete();
    }
    return exporter.Text();
}

}  // namespace

TEST(RegistryExporterTest, KeysAreFollowedByOneEmptyLinePerLevelOfNesting)
{
    ScratchKey scratch("Exporter");
    scratch.CreateSubkey("Lone\\Sub");
    scratch.SetDword("Tree", "", 16);
    scratch.SetString("Tree\\A", "x", "1");
    scratch.CreateSubkey("Tree\\A\\Deep");

    EXPECT_EQ(Exported("Lone"), Header + "\\Lone]\n\n" + "[HKEY_CURRENT_USER\\" + Scratch + "\\Lone\\Sub]\n\n\n\n");
    bool complete = false;
    EXPECT_EQ(Exported("Tree", &complete), Header + "\\Tree]\n@=dword:00000010\n\n" +
                                               "[HKEY_CURRENT_USER\\" + Scratch + "\\Tree\\A]\n\"x\"=\"1\"\n\n" +
                                               "[HKEY_CURRENT_USER\\" + Scratch + "\\Tree\\A\\Deep]\n\n\n\n\n");
    EXPECT_TRUE(complete);
}

TEST(RegistryExporterTest, AMissingKeyHasNothingToLose)
{
    ScratchKey scratch("Exporter");
    bool complete = false;
    EXPECT_EQ(Exported("Missing", &complete), Header + "\\Missing]\n\n\n");
    EXPECT_TRUE(complete);
}

TEST(RegistryExporterTest, WhatCannotBeWrittenMakesTheExportIncomplete)
{
    ScratchKey scratch("Exporter");
    scratch.SetString("Long", std::string(1024, 'n'), "skipped by the walk");
    scratch.SetString("Break", "a\nb", "x");
    bool complete = true;
    Exported("Long", &complete);
    EXPECT_FALSE(complete);
    complete = true;
    EXPECT_EQ(Exported("Break", &complete), Header + "\\Break]\n\n\n");
    EXPECT_FALSE(complete);
}
