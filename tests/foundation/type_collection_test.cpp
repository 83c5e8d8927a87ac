// Field collections: growth, joined texts, lookups, forwarded operations, paired
// operations with collections of other sizes, and texts split over members.
#include "lib/src/iTypeCollection.h"
#include "lib/src/iTypeScalar.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class Exposed : public iType::Collection {
public:
    using Collection::Collection;
    int Capacity() const { return m_capacity; }
};

// A field that shows a fixed text, answers chosen results and counts its destruction.
class Probe : public iType::Base {
public:
    Probe(iType::Collection* parent, const char* name, const char* text = "", int answer = 1, int* deaths = nullptr)
        : Base(parent, name, nullptr), m_text(text), m_answer(answer), m_deaths(deaths)
    {
    }
    ~Probe() override
    {
        if (m_deaths)
            ++*m_deaths;
    }
    const char* GetText() const override { return m_text.c_str(); }
    Base* Create() const override { return nullptr; }
    int IsValid() const override { return m_answer; }
    int CompareTo(const Base&) const override { return 0; }
    int SetMinimum() override
    {
        ++calls;
        return m_answer;
    }
    int SetText(const char* text) override
    {
        m_text = text;
        return 1;
    }
    std::string Text() const { return m_text; }

    int calls = 0;

private:
    std::string m_text;
    int m_answer;
    int* m_deaths;
};

} // namespace

TEST(iTypeCollection, MemberArrayDoublesWhenFull)
{
    Exposed collection("c", nullptr);
    EXPECT_EQ(0, collection.Capacity());
    std::vector<std::unique_ptr<Probe>> members;
    for (int i = 0; i < 9; ++i) {
        members.emplace_back(new Probe(&collection, "m"));
        EXPECT_EQ(i < 8 ? 8 : 16, collection.Capacity());
    }
    EXPECT_EQ(9, collection.GetCount());
    EXPECT_EQ(8, members[8]->GetIndex());
    EXPECT_EQ(members[0].get(), collection.GetAt(0));
    EXPECT_EQ(members[8].get(), collection.GetAt(8));
    collection.Add(nullptr);
    EXPECT_EQ(9, collection.GetCount());
}

TEST(iTypeCollection, TextJoinsTheShownMembers)
{
    iType::Collection collection("c", nullptr);
    Probe a(&collection, "a", "a");
    Probe b(&collection, "b", "b");
    Probe c(&collection, "c", "c");
    b.SetFlags(2);  // bit 0 clear: left out of the text
    EXPECT_STREQ("ac", collection.GetText());
    collection.SetSeparator(", ");
    EXPECT_STREQ("a, c", collection.GetText());
    collection.SetSeparator(nullptr);
    EXPECT_EQ(nullptr, collection.GetSeparator());
    EXPECT_STREQ("ac", collection.GetText());
}

TEST(iTypeCollection, NestedCollectionTextAndNullTexts)
{
    iType::Collection outer("outer", nullptr);
    outer.SetSeparator("/");
    Probe first(&outer, "first", "1");
    iType::Collection inner(&outer, "inner", nullptr);
    inner.SetSeparator("+");
    Probe x(&inner, "x", "x");
    Probe y(&inner, "y", "y");
    EXPECT_STREQ("1/x+y", outer.GetText());
}

TEST(iTypeCollection, FindAndGetAtAnswerNullWhenAbsent)
{
    iType::Collection collection("c", nullptr);
    Probe first(&collection, "twin");
    Probe second(&collection, "twin");
    Probe other(&collection, "other");
    EXPECT_EQ(&first, collection.Find("twin"));
    EXPECT_EQ(&other, collection["other"]);
    EXPECT_EQ(nullptr, collection.Find("Other"));  // case-sensitive
    EXPECT_EQ(nullptr, collection.Find(nullptr));
    EXPECT_EQ(&second, collection[1]);
    EXPECT_EQ(nullptr, collection.GetAt(-1));
    EXPECT_EQ(nullptr, collection.GetAt(3));
    const iType::Collection& constant = collection;
    EXPECT_EQ(&other, constant.Find("other"));
    EXPECT_EQ(&first, constant[0]);
}

TEST(iTypeCollection, SetMinimumStopsAtTheFirstRefusal)
{
    iType::Collection collection("c", nullptr);
    Probe first(&collection, "1", "", 1);
    Probe refusing(&collection, "2", "", 0);
    Probe third(&collection, "3", "", 1);
    EXPECT_EQ(0, collection.SetMinimum());
    EXPECT_EQ(1, first.calls);
    EXPECT_EQ(1, refusing.calls);
    EXPECT_EQ(0, third.calls);
    EXPECT_EQ(0, collection.IsValid());

    iType::Collection empty("e", nullptr);
    EXPECT_EQ(1, empty.SetMinimum());
    EXPECT_EQ(1, empty.IsValid());
}

TEST(iTypeCollection, ClearAndSetDefaultReachEveryMember)
{
    iType::Collection collection("c", nullptr);
    iType::TType<long> a(&collection, "a", nullptr);
    iType::TType<long> b(&collection, "b", nullptr);
    a.SetNullValue(1);
    b.SetNullValue(2);
    a.SetDefaultValue(3);
    b.SetDefaultValue(4);
    collection.Clear();
    EXPECT_EQ(1, a.Value());
    EXPECT_EQ(2, b.Value());
    collection.SetDefault();
    EXPECT_EQ(3, a.Value());
    EXPECT_EQ(4, b.Value());
}

TEST(iTypeCollection, CompareToPairsMembersAsFarAsBothHaveThem)
{
    struct Case {
        const char* why;
        std::vector<long> left;
        std::vector<long> right;
        int expected;
    };
    const Case cases[] = {
        {"same members", {1, 2}, {1, 2}, 0},
        {"first difference decides", {1, 2, 9}, {1, 3}, -1},
        {"all pairs equal, fewer members sorts first", {1, 2}, {1, 2, 3}, -1},
        {"all pairs equal, more members sorts after", {1, 2, 3}, {1, 2}, 1},
        {"empty against non-empty", {}, {5}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iType::Collection left("l", nullptr);
        iType::Collection right("r", nullptr);
        std::vector<std::unique_ptr<iType::TType<long>>> fields;
        for (long v : c.left)
            fields.emplace_back(new iType::TType<long>(&left, "f", nullptr))->Value() = v;
        for (long v : c.right)
            fields.emplace_back(new iType::TType<long>(&right, "f", nullptr))->Value() = v;
        EXPECT_EQ(c.expected, left.CompareTo(right));
    }
}

TEST(iTypeCollection, AssignFromAShorterCollectionStopsAtItsEnd)
{
    iType::Collection longer("long", nullptr);
    iType::TType<long> a(&longer, "a", nullptr);
    iType::TType<long> b(&longer, "b", nullptr);
    iType::Collection shorter("short", "Short");
    iType::TType<long> x(&shorter, "x", nullptr);
    x.SetNullValue(6);
    longer.Assign(shorter);
    EXPECT_STREQ("short", longer.GetName());
    EXPECT_STREQ("x", a.GetName());
    EXPECT_EQ(6, a.GetNullValue());
    EXPECT_STREQ("b", b.GetName());

    shorter.Assign(longer);  // the other way round pairs one member
    EXPECT_STREQ("x", x.GetName());

    iType::Collection empty("empty", nullptr);  // no member array at all
    longer.Assign(empty);
    EXPECT_STREQ("empty", longer.GetName());
    EXPECT_STREQ("x", a.GetName());
}

TEST(iTypeCollection, CloneHasNoMembers)
{
    iType::Collection collection("name", "description");
    iType::TType<long> member(&collection, "m", nullptr);
    std::unique_ptr<iType::Base> clone(collection.Clone());
    auto* copy = dynamic_cast<iType::Collection*>(clone.get());
    ASSERT_NE(nullptr, copy);
    EXPECT_STREQ("name", copy->GetName());
    EXPECT_STREQ("description", copy->GetDescription());
    EXPECT_EQ(0, copy->GetCount());
    EXPECT_EQ(0, collection.SetText("1"));
}

TEST(iTypeCollection, DeleteMembersDestroysEachOnce)
{
    int deaths = 0;
    iType::Collection collection("c", nullptr);
    new Probe(&collection, "a", "", 1, &deaths);
    new Probe(&collection, "b", "", 1, &deaths);
    collection.DeleteMembers();
    EXPECT_EQ(2, deaths);
    collection.DeleteMembers();
    EXPECT_EQ(2, deaths);
}

TEST(iTypeCompound, SetTextHandsOnePieceToEachMember)
{
    struct Case {
        const char* why;
        const char* text;
        const char* expected[3];
    };
    const Case cases[] = {
        {"fewer pieces than members", "1-2", {"1", "2", "old"}},
        {"more pieces than members", "1-2-3-4", {"1", "2", "3"}},
        {"empty text sets nothing", "", {"old", "old", "old"}},
        {"trailing separator gives an empty piece", "1-", {"1", "", "old"}},
        {"empty pieces between separators", "--3", {"", "", "3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iType::Compound compound("c", nullptr);
        compound.SetSeparator("-");
        Probe a(&compound, "a", "old");
        Probe b(&compound, "b", "old");
        Probe d(&compound, "d", "old");
        EXPECT_EQ(1, compound.SetText(c.text));
        EXPECT_EQ(c.expected[0], a.Text());
        EXPECT_EQ(c.expected[1], b.Text());
        EXPECT_EQ(c.expected[2], d.Text());
    }
}

TEST(iTypeCompound, WithoutSeparatorNothingIsSet)
{
    iType::Combined combined("c", nullptr);
    Probe a(&combined, "a", "old");
    EXPECT_EQ(0, combined.SetText("1"));
    EXPECT_EQ("old", a.Text());
    combined.SetSeparator("::");
    EXPECT_EQ(1, combined.SetText("x::y"));
    EXPECT_EQ("x", a.Text());
    EXPECT_EQ(3u, combined.GetFlags());
}

TEST(iTypeCompound, ScalarMembersParseTheirPieces)
{
    iType::Compound date("date", nullptr);
    date.SetSeparator(".");
    iType::TType<long> day(&date, "day", nullptr);
    iType::TType<long> month(&date, "month", nullptr);
    EXPECT_EQ(1, date.SetText("24.12"));
    EXPECT_EQ(24, day.Value());
    EXPECT_EQ(12, month.Value());
    EXPECT_STREQ("24.12", date.GetText());
}
