#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

class RegistryValueTest : public ::testing::Test {
protected:
    Ref<RegistryValue> Read(const std::string& name)
    {
        Ref<RegistryKey> key(new RegistryKey(scratch.Root(), "Software\\CorvadinTest", "Values"));
        return key->QueryValue(name);
    }

    ScratchKey scratch{"Values"};
};

}  // namespace

TEST_F(RegistryValueTest, ReadsEveryTypeAsStored)
{
    const uint64_t quad = 0x1122334455667788ull;
    const BYTE bytes[] = {0, 1, 2, 0xff};
    scratch.SetString("", "sz", "C:\\dir");
    scratch.SetDword("", "dword", 16);
    scratch.Set("", "qword", REG_QWORD, &quad, sizeof quad);
    scratch.Set("", "binary", REG_BINARY, bytes, sizeof bytes);
    scratch.Set("", "none", REG_NONE, bytes, 2);
    scratch.Set("", "empty", REG_BINARY, nullptr, 0);

    Ref<RegistryValue> sz = Read("sz");
    ASSERT_TRUE(sz);
    EXPECT_EQ(sz->Type(), REG_SZ);
    EXPECT_EQ(sz->Size(), 7);
    EXPECT_EQ(sz->GetString(0), "C:\\dir");
    EXPECT_EQ(sz->FullPath(), "HKEY_CURRENT_USER\\Software\\CorvadinTest\\Values\\sz");

    Ref<RegistryValue> dword = Read("dword");
    EXPECT_EQ(dword->Type(), REG_DWORD);
    EXPECT_EQ(dword->Data(), (std::vector<BYTE>{16, 0, 0, 0}));
    EXPECT_EQ(dword->GetString(0), "");

    EXPECT_EQ(Read("qword")->Type(), REG_QWORD);
    EXPECT_EQ(Read("qword")->Size(), 8);
    EXPECT_EQ(Read("binary")->Data(), std::vector<BYTE>(bytes, bytes + 4));
    EXPECT_EQ(Read("none")->Type(), REG_NONE);
    EXPECT_EQ(Read("empty")->Size(), 0);
    EXPECT_TRUE(Read("empty")->Data().empty());
}

TEST_F(RegistryValueTest, StringsByIndex)
{
    const char multi[] = "a\0bb\0\0";
    scratch.Set("", "multi", REG_MULTI_SZ, multi, sizeof multi - 1);
    scratch.Set("", "emptymulti", REG_MULTI_SZ, "\0", 2);
    scratch.SetString("", "sz", "one");

    Ref<RegistryValue> value = Read("multi");
    EXPECT_EQ(value->GetString(0), "a");
    EXPECT_EQ(value->GetString(1), "bb");
    EXPECT_EQ(value->GetString(2), "");
    EXPECT_EQ(value->GetString(-1), "");
    EXPECT_EQ(Read("emptymulti")->GetString(0), "");
    EXPECT_EQ(Read("sz")->GetString(1), "");
}

TEST_F(RegistryValueTest, UnterminatedTextEndsAtTheEndOfTheData)
{
    scratch.Set("", "raw", REG_SZ, "abc", 3);
    scratch.Set("", "rawmulti", REG_MULTI_SZ, "x\0yz", 4);
    EXPECT_EQ(Read("raw")->GetString(0), "abc");
    EXPECT_EQ(Read("rawmulti")->GetString(1), "yz");
}

TEST_F(RegistryValueTest, ExpandableTextIsExpandedAtAnyLength)
{
    scratch.SetString("", "short", "%SystemRoot%\\notepad.exe", REG_EXPAND_SZ);
    scratch.SetString("", "long", "%SystemRoot%\\" + std::string(300, 'x'), REG_EXPAND_SZ);

    char windows[MAX_PATH];
    GetEnvironmentVariableA("SystemRoot", windows, MAX_PATH);
    EXPECT_EQ(Read("short")->GetString(0), std::string(windows) + "\\notepad.exe");
    EXPECT_EQ(Read("long")->GetString(0), std::string(windows) + "\\" + std::string(300, 'x'));
}

TEST_F(RegistryValueTest, OddNamesAndTheDefaultValue)
{
    const std::string odd = "quote\" back\\slash";
    const std::string longest(255, 'n');
    scratch.SetString("", odd, "1");
    scratch.SetString("", longest, "2");
    scratch.SetString("", "", "default");
    EXPECT_EQ(Read(odd)->GetString(0), "1");
    EXPECT_EQ(Read(longest)->GetString(0), "2");
    EXPECT_EQ(Read("")->GetString(0), "default");
    EXPECT_EQ(Read("")->FullPath(), "HKEY_CURRENT_USER\\Software\\CorvadinTest\\Values\\");
}

TEST_F(RegistryValueTest, ValuesWithoutAReadableKeyAreUnreadable)
{
    Ref<RegistryValue> orphan(new RegistryValue("x", nullptr));
    EXPECT_EQ(orphan->Type(), RegistryValue::Unreadable);
    EXPECT_EQ(orphan->Size(), -1);
    EXPECT_EQ(orphan->FullPath(), "invalid key");
    EXPECT_EQ(orphan->GetString(0), "");

    Ref<RegistryKey> gone(new RegistryKey(HKEY_CURRENT_USER, "Software\\CorvadinTest", "NoSuchKey"));
    Ref<RegistryValue> missing(new RegistryValue("x", gone.get()));
    EXPECT_EQ(missing->Type(), RegistryValue::Unreadable);
    EXPECT_TRUE(missing->Data().empty());
}
