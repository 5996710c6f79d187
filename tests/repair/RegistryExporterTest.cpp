#include "repair/RegistryExporter.h"

#include "registry/RegistryKey.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

namespace {

const std::string Exports = "Software\\CorvadinTest\\Exporter";
const std::string Heading = "REGEDIT4\n; registry view: shared\n\n[HKEY_CURRENT_USER\\" + Exports;

std::string Exported(const std::string& name, bool* complete = nullptr)
{
    RegistryExporter exporter;
    Ref<RegistryKey> key(new RegistryKey(HKEY_CURRENT_USER, Exports, name));
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

    EXPECT_EQ(Exported("Lone"), Heading + "\\Lone]\n\n" + "[HKEY_CURRENT_USER\\" + Exports + "\\Lone\\Sub]\n\n\n\n");
    bool complete = false;
    EXPECT_EQ(Exported("Tree", &complete), Heading + "\\Tree]\n@=dword:00000010\n\n" +
                                               "[HKEY_CURRENT_USER\\" + Exports + "\\Tree\\A]\n\"x\"=\"1\"\n\n" +
                                               "[HKEY_CURRENT_USER\\" + Exports + "\\Tree\\A\\Deep]\n\n\n\n\n");
    EXPECT_TRUE(complete);
}

TEST(RegistryExporterTest, AMissingKeyHasNothingToLose)
{
    ScratchKey scratch("Exporter");
    bool complete = false;
    EXPECT_EQ(Exported("Missing", &complete), Heading + "\\Missing]\n\n\n");
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
    EXPECT_EQ(Exported("Break", &complete), Heading + "\\Break]\n\n\n");
    EXPECT_FALSE(complete);
}
