#include <gtest/gtest.h>

#include "platform/sys/exception.h"
#include "platform/sys/string_list.h"

namespace {

// Counts its own destruction, to see who frees an entry's object.
class Probe : public TObject {
public:
    explicit Probe(int& freed) : freed_(freed) {}
    ~Probe() override { ++freed_; }

private:
    int& freed_;
};

TEST(StringList, NamesCompareWithoutLetterCase)
{
    TStringList list;
    list.SetText("OK=0\r\nRING=2\r\nOK.Params=RES,OK\r\nno value\r\n");
    EXPECT_EQ(list.Values("ok"), "0");
    EXPECT_EQ(list.Values("Ok.params"), "RES,OK");
    EXPECT_EQ(list.Values("missing"), "");
    EXPECT_EQ(list.IndexOfName("ring"), 1);
    EXPECT_EQ(list.IndexOfName("no value"), -1);
    EXPECT_EQ(list.Names(2), "OK.Params");
    EXPECT_EQ(list.Names(3), "");
    EXPECT_EQ(list.ValueFromIndex(2), "RES,OK");
    EXPECT_EQ(list.IndexOf("NO VALUE"), 3);
}

TEST(StringList, SettingAValueReplacesAppendsOrDeletes)
{
    TStringList list;
    list.Add("a=1");
    list.Add("b=2");
    list.SetValue("A", "9");
    list.SetValue("c", "3");
    EXPECT_EQ(list.Text(), "A=9\r\nb=2\r\nc=3\r\n");
    list.SetValue("B", "");
    EXPECT_EQ(list.Text(), "A=9\r\nc=3\r\n");
    // Only the first "=" separates: the value may hold more.
    list.SetText("k=v=w");
    EXPECT_EQ(list.Values("k"), "v=w");
}

TEST(StringList, TextSplitsAtEveryLineBreakKind)
{
    TStringList list;
    list.SetText("one\r\ntwo\nthree\rfour");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[3], "four");
    list.SetText("\r\n\r\n");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0], "");
}

TEST(StringList, IndexOutsideTheListRaisesTheListError)
{
    TStringList list;
    list.Add("x");
    struct Case {
        const char* what;
        std::function<void()> call;
        const char* message;
    };
    const Case kCases[] = {
        {"read past end", [&] { list.Get(1); }, "List index out of bounds (1)"},
        {"negative", [&] { list.Get(-1); }, "List index out of bounds (-1)"},
        {"delete", [&] { list.Delete(5); }, "List index out of bounds (5)"},
        {"object", [&] { list.GetObject(1); }, "List index out of bounds (1)"},
        {"insert past end", [&] { list.Insert(2, "y"); }, "List index out of bounds (2)"},
        {"empty list", [] { TStringList().Get(0); }, "List index out of bounds (0)"},
    };
    for (const Case& c : kCases) {
        try {
            c.call();
            ADD_FAILURE() << c.what << ": no exception";
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message(), c.message) << c.what;
        }
    }
    // Inserting at the end is appending.
    list.Insert(1, "y");
    EXPECT_EQ(list.Text(), "x\r\ny\r\n");
}

TEST(StringList, ObjectsAreCarriedAndFreedOnlyWhenOwned)
{
    int freed = 0;
    auto* kept = new Probe(freed);
    {
        TStringList list;
        list.AddObject("1=0", kept);
        TStringList copy;
        copy.Assign(list);
        EXPECT_EQ(copy.GetObject(0), kept);
    }
    EXPECT_EQ(freed, 0);
    delete kept;

    freed = 0;
    {
        TStringList list(true);
        list.AddObject("a", new Probe(freed));
        list.AddObject("b", new Probe(freed));
        list.AddObject("c", new Probe(freed));
        list.Delete(0);
        EXPECT_EQ(freed, 1);
        list.PutObject(0, nullptr);
        EXPECT_EQ(freed, 2);
    }
    EXPECT_EQ(freed, 3);
}

TEST(StringList, AddStringsOfItselfDoublesTheList)
{
    TStringList list;
    list.Add("a");
    list.Add("b");
    list.AddStrings(list);
    EXPECT_EQ(list.Text(), "a\r\nb\r\na\r\nb\r\n");
}

}  // namespace
