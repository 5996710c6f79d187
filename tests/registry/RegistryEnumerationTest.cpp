#include "registry/RegistryEnumeration.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "registry/RegistryVisitor.h"
#include "registry/WalkContext.h"
#include "tests/support/RecordingContext.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

class CollectingVisitor : public RegistryVisitor {
public:
    bool OnValue(RegistryValue* value) override
    {
        values.push_back(value ? value->Name() : "<unreadable>");
        return values.size() != stopAt;
    }
    bool OnKey(RegistryKey* key) override
    {
        keys.push_back(key->FullPath());
        return keys.size() != stopAt;
    }

    std::vector<std::string> values;
    std::vector<std::string> keys;
    size_t stopAt = 0;
};

class ValueTexts : public CollectingVisitor {
public:
    bool OnValue(RegistryValue* value) override
    {
        read[value->Name()] = value->GetString(0);
        return true;
    }
    std::map<std::string, std::string> read;
};

// Deletes the walked key at its first subkey, as another program might. Stops the walk at the thousandth stop
// query (one per index), so that a walk that would run through four billion indexes fails instead of hanging.
class KeyDeletingWalk : public RecordingContext, public CollectingVisitor {
public:
    bool OnKey(RegistryKey* key) override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\CorvadinTest\\Walk");
        return CollectingVisitor::OnKey(key);
    }
    bool IsStopRequested() const override { return ++queries > 1000; }
    mutable int queries = 0;
};

class RegistryEnumerationTest : public ::testing::Test {
protected:
    Ref<RegistryKey> Key(const std::string& name = "Walk")
    {
        return Ref<RegistryKey>(new RegistryKey(scratch.Root(), "Software\\CorvadinTest", name));
    }

    ScratchKey scratch{"Walk"};
    CollectingVisitor visitor;
    RecordingContext context;
};

}  // namespace

TEST_F(RegistryEnumerationTest, VisitsEverySubkeyAndDrivesTheProgressSink)
{
    scratch.CreateSubkey("a");
    scratch.CreateSubkey("b\\nested");
    scratch.CreateSubkey("c");
    Ref<RegistryKey> key = Key();
    EnumerateSubkeys(*key, visitor, context);

    const std::string base = "HKEY_CURRENT_USER\\Software\\CorvadinTest\\Walk\\";
    EXPECT_EQ(std::set<std::string>(visitor.keys.begin(), visitor.keys.end()),
              (std::set<std::string>{base + "a", base + "b", base + "c"}));
    EXPECT_EQ(context.sink.range, 3);
    EXPECT_EQ(context.sink.position, 3);
    ASSERT_EQ(context.sink.texts.size(), 3u);
    EXPECT_EQ(context.sink.texts[0], visitor.keys[0]);
    EXPECT_EQ(key->Handle(), nullptr) << "the walk closes the key";
}

// Walks the subkeys of every key it is shown, as a scanner walks the verbs below a file class.
class InnerWalk : public CollectingVisitor {
public:
    explicit InnerWalk(WalkContext& outer) : inner(outer) {}
    bool OnKey(RegistryKey* key) override
    {
        CollectingVisitor::OnKey(key);
        EnumerateSubkeys(*key, nested, inner);
        return true;
    }
    CollectingVisitor nested;
    InnerWalkContext inner;
};

TEST_F(RegistryEnumerationTest, AnInnerWalkShowsItsEntriesButLeavesTheRangeAndStepsToTheOuterWalk)
{
    scratch.CreateSubkey("a\\one");
    scratch.CreateSubkey("a\\two");
    scratch.CreateSubkey("b\\three");
    Ref<RegistryKey> key = Key();
    InnerWalk walk(context);
    EnumerateSubkeys(*key, walk, context);

    EXPECT_EQ(walk.nested.keys.size(), 3u);
    EXPECT_EQ(context.sink.range, 2);
    EXPECT_EQ(context.sink.position, 2);
    EXPECT_EQ(context.sink.texts.size(), 5u);
}

TEST_F(RegistryEnumerationTest, VisitsEveryValueByName)
{
    scratch.SetString("", "one", "1");
    scratch.SetDword("", "two", 2);
    scratch.SetString("", "", "default");
    Ref<RegistryKey> key = Key();
    ASSERT_TRUE(key->Open(KEY_QUERY_VALUE));
    EnumerateValues(*key, visitor, context);

    EXPECT_EQ(std::set<std::string>(visitor.values.begin(), visitor.values.end()),
              (std::set<std::string>{"", "one", "two"}));
    EXPECT_EQ(context.sink.range, 3);
    EXPECT_NE(key->Handle(), nullptr) << "left open for the caller's next walk";
    key->Close();
    EnumerateValues(*key, visitor, context);
    EXPECT_EQ(key->Handle(), nullptr) << "a walk closes what it opened";
}

TEST_F(RegistryEnumerationTest, TheVisitorOrTheStopFlagEndsTheWalk)
{
    for (const char* name : {"a", "b", "c", "d"}) {
        scratch.CreateSubkey(name);
        scratch.SetString("", name, "x");
    }
    visitor.stopAt = 2;
    Ref<RegistryKey> key = Key();
    EnumerateSubkeys(*key, visitor, context);
    EnumerateValues(*key, visitor, context);
    EXPECT_EQ(visitor.keys.size(), 2u);
    EXPECT_EQ(visitor.values.size(), 2u);

    CollectingVisitor unlimited;
    context.sink.position = 0;
    context.stopAfter = 3;
    EnumerateSubkeys(*key, unlimited, context);
    EXPECT_EQ(unlimited.keys.size(), 3u);

    context.RequestStop();
    CollectingVisitor stopped;
    EnumerateValues(*key, stopped, context);
    EXPECT_TRUE(stopped.values.empty());
}

TEST_F(RegistryEnumerationTest, KeysThatCannotBeOpenedVisitNothing)
{
    Ref<RegistryKey> missing = Key("NoSuchKey");
    EnumerateSubkeys(*missing, visitor, context);
    EnumerateValues(*missing, visitor, context);
    EXPECT_TRUE(visitor.keys.empty());
    EXPECT_TRUE(visitor.values.empty());
    EXPECT_TRUE(context.sink.texts.empty());
}

TEST_F(RegistryEnumerationTest, OverlongValueNamesAreSkippedAndTheWalkGoesOn)
{
    scratch.SetString("", std::string(1100, 'L'), "long");
    scratch.SetString("", "short", "s");
    Ref<RegistryKey> key = Key();
    EnumerateValues(*key, visitor, context);
    EXPECT_EQ(visitor.values, std::vector<std::string>{"short"});
}

TEST_F(RegistryEnumerationTest, BigValuesAreReadWhole)
{
    const std::string big(10000, 'b');
    scratch.SetString("", "big", big);
    scratch.SetString("", "small", "s");
    ValueTexts texts;
    Ref<RegistryKey> key = Key();
    EnumerateValues(*key, texts, context);
    EXPECT_EQ(texts.read, (std::map<std::string, std::string>{{"big", big}, {"small", "s"}}));
    EXPECT_EQ(Key()->QueryValue("big")->GetString(0), big);
}

TEST_F(RegistryEnumerationTest, NamesWithQuotesAndBackslashesArriveIntact)
{
    const std::string odd = "say \"hi\" \\ there";
    scratch.SetString("", odd, "x");
    scratch.CreateSubkey("key \"quoted\"");
    Ref<RegistryKey> key = Key();
    EnumerateValues(*key, visitor, context);
    EnumerateSubkeys(*key, visitor, context);
    EXPECT_EQ(visitor.values, std::vector<std::string>{odd});
    ASSERT_EQ(visitor.keys.size(), 1u);
    EXPECT_EQ(visitor.keys[0], "HKEY_CURRENT_USER\\Software\\CorvadinTest\\Walk\\key \"quoted\"");
}

TEST_F(RegistryEnumerationTest, AKeyDeletedUnderTheWalkEndsIt)
{
    scratch.CreateSubkey("a");
    KeyDeletingWalk walk;
    EnumerateSubkeys(*Key(), walk, walk);
    EXPECT_EQ(walk.keys.size(), 1u);
    EXPECT_LT(walk.queries, 10);
}
