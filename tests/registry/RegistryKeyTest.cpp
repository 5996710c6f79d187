#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

TEST(RegistryKeyTest, RootNamesComeFromTheRootHandle)
{
    EXPECT_EQ(RootNameOf(HKEY_CLASSES_ROOT), "HKEY_CLASSES_ROOT\\");
    EXPECT_EQ(RootNameOf(HKEY_CURRENT_USER), "HKEY_CURRENT_USER\\");
    EXPECT_EQ(RootNameOf(HKEY_LOCAL_MACHINE), "HKEY_LOCAL_MACHINE\\");
    EXPECT_EQ(RootNameOf(HKEY_USERS), "HKEY_USERS\\");
    EXPECT_EQ(RootNameOf(HKEY_CURRENT_CONFIG), "HKEY_CURRENT_CONFIG\\");
    EXPECT_EQ(RootNameOf(HKEY_PERFORMANCE_DATA), "");
}

TEST(RegistryKeyTest, PathsOfKeysDirectlyUnderTheRootAndOfTheirChildren)
{
    Ref<RegistryKey> txt(new RegistryKey(HKEY_CLASSES_ROOT, "", ".txt"));
    EXPECT_EQ(txt->RelativePath(), ".txt");
    EXPECT_EQ(txt->FullPath(), "HKEY_CLASSES_ROOT\\.txt");

    Ref<RegistryKey> shellNew(new RegistryKey(*txt, "ShellNew"));
    EXPECT_EQ(shellNew->ParentPath(), ".txt");
    EXPECT_EQ(shellNew->Name(), "ShellNew");
    EXPECT_EQ(shellNew->FullPath(), "HKEY_CLASSES_ROOT\\.txt\\ShellNew");

    Ref<RegistryKey> bho(new RegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer",
                                         "Browser Helper Objects"));
    EXPECT_EQ(bho->FullPath(),
              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects");
    Ref<RegistryKey> child(new RegistryKey(*bho, "{X}"));
    EXPECT_EQ(child->ParentPath(), "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects");
}

TEST(RegistryKeyTest, OpenKeepsTheRightsItWasFirstOpenedWith)
{
    ScratchKey scratch("KeyOpen");
    scratch.SetString("", "v", "text");
    Ref<RegistryKey> key(new RegistryKey(scratch.Root(), "Software\\CorvadinTest", "KeyOpen"));
    ASSERT_TRUE(key->Open(KEY_QUERY_VALUE));
    const HKEY first = key->Handle();
    EXPECT_TRUE(key->Open(KEY_ALL_ACCESS));
    EXPECT_EQ(key->Handle(), first);
    // The read-only handle cannot write.
    const DWORD one = 1;
    EXPECT_NE(RegSetValueExA(key->Handle(), "w", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4),
              ERROR_SUCCESS);
    key->Close();
    EXPECT_EQ(key->Handle(), nullptr);
}

TEST(RegistryKeyTest, KeysBelowAnOpenKeyOpenTheRightKey)
{
    ScratchKey scratch("KeyBelow");
    scratch.SetString("mid\\leaf", "v", "leaf");
    Ref<RegistryKey> top(new RegistryKey(scratch.Root(), "Software\\CorvadinTest", "KeyBelow"));
    ASSERT_TRUE(top->Open(KEY_READ));
    Ref<RegistryKey> mid(new RegistryKey(*top, "mid"));
    Ref<RegistryKey> leaf(new RegistryKey(*mid, "leaf"));
    ASSERT_TRUE(leaf->QueryValue("v"));
    EXPECT_EQ(leaf->QueryValue("v")->GetString(0), "leaf");
    EXPECT_EQ(Ref<RegistryKey>(new RegistryKey(*mid, "absent"))->TryOpen(KEY_READ), ERROR_FILE_NOT_FOUND);
    {
        // A parent on the stack is never counted, so the child must not hold it.
        RegistryKey onStack(scratch.Root(), "Software\\CorvadinTest", "KeyBelow");
        ASSERT_TRUE(onStack.Open(KEY_READ));
        Ref<RegistryKey> child(new RegistryKey(onStack, "mid"));
        EXPECT_TRUE(child->Open(KEY_READ));
    }
}

TEST(RegistryKeyTest, MissingKeysAndValuesGiveNothing)
{
    ScratchKey scratch("KeyMissing");
    Ref<RegistryKey> missing(new RegistryKey(scratch.Root(), scratch.Path(), "absent"));
    EXPECT_FALSE(missing->Open(KEY_QUERY_VALUE));
    EXPECT_EQ(missing->Handle(), nullptr);
    EXPECT_FALSE(missing->QueryValue("x"));

    Ref<RegistryKey> present(new RegistryKey(scratch.Root(), "Software\\CorvadinTest", "KeyMissing"));
    EXPECT_FALSE(present->QueryValue("no such value"));
}

TEST(RegistryKeyTest, CountedObjectsAreFreedExactlyOnce)
{
    const long before = RefCounted::LiveObjects();
    {
        ScratchKey scratch("KeyCount");
        scratch.SetString("", "v", "text");
        Ref<RegistryKey> key(new RegistryKey(scratch.Root(), "Software\\CorvadinTest", "KeyCount"));
        Ref<RegistryValue> value = key->QueryValue("v");
        ASSERT_TRUE(value);
        key = Ref<RegistryKey>();
        // The value keeps its key alive.
        EXPECT_EQ(value->Key()->Name(), "KeyCount");
        EXPECT_EQ(RefCounted::LiveObjects(), before + 2);
    }
    EXPECT_EQ(RefCounted::LiveObjects(), before);
}
