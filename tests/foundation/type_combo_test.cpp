// Check and combo fields: names of set bits, names of codes, maps made, owned and
// borrowed, and choices set from their names.
#include "lib/src/iTypeCombo.h"

#include <gtest/gtest.h>

#include <memory>

TEST(iTypeCheck, ShowsTheNamesOfTheSetBits)
{
    struct Case {
        const char* why;
        unsigned long value;
        const char* expected;
    };
    const Case cases[] = {
        {"bits 0 and 2", 5, "Bold & Italic"},
        {"bit 1 has no name: the text begins with the separator", 6, " & Italic"},
        {"no bit set", 0, ""},
        {"one bit", 4, "Italic"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iType::TCheck<unsigned long> style(nullptr, "style", nullptr);
        EXPECT_EQ(1, style.AddBitName(0, "Bold"));
        EXPECT_EQ(1, style.AddBitName(2, "Italic"));
        style = c.value;
        EXPECT_STREQ(c.expected, style.GetText());
    }
}

TEST(iTypeCheck, WithoutNamesShowsHexadecimalOfTheTypeWidth)
{
    iType::TCheck<unsigned long> wide(5UL);
    EXPECT_STREQ("0x00000005", wide.GetText());
    iType::TCheck<unsigned short> narrow(static_cast<unsigned short>(5));
    EXPECT_STREQ("0x0005", narrow.GetText());
    iType::TCheck<unsigned char> byte(static_cast<unsigned char>(0xAB));
    EXPECT_STREQ("0xAB", byte.GetText());
}

TEST(iTypeCheck, BitNamesOutsideTheTypeAreRefused)
{
    iType::TCheck<unsigned long> flags;
    EXPECT_EQ(0, flags.AddBitName(32, "Beyond"));
    EXPECT_EQ(0, flags.AddBitName(-1, "Negative"));
    EXPECT_EQ(nullptr, flags.GetMap());
    EXPECT_EQ(1, flags.AddBitName(31, "Top"));
    EXPECT_EQ(1, flags.AddBitName(31, "Other"));  // the first name stays
    flags = 0x80000000UL;
    EXPECT_STREQ("Top", flags.GetText());
    EXPECT_EQ(32, flags.GetBitCount());
    EXPECT_EQ(0x80000000UL, flags.GetValue());
}

TEST(iTypeCombo, ShowsTheNameOfItsCode)
{
    iType::TCombo<long> size(nullptr, "size", nullptr);
    EXPECT_STREQ("*No String Map!*", size.GetText());
    size.AddItem(1, "Small");
    size.AddItem(2, "Large");
    EXPECT_EQ(1, size.AddItem(2, "Huge"));  // the first name stays
    size = 2L;
    EXPECT_STREQ("Large", size.GetText());
    size = 3L;
    EXPECT_STREQ("", size.GetText());
}

TEST(iTypeCombo, SetTextFindsTheCodeByItsExactName)
{
    struct Case {
        const char* why;
        const char* text;
        int result;
        long value;
    };
    const Case cases[] = {
        {"exact name", "Legal", 1, 5},
        {"other exact name", "Letter", 1, 2},
        {"case differs: no match, value kept", "legal", 0, 9},
        {"unknown name: no match, value kept", "A4", 0, 9},
        {"empty text", "", 0, 9},
        {"null text", nullptr, 0, 9},
        {"name of the code -1", "Automatic", 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iType::TCombo<long> format(nullptr, "Format", nullptr);
        format.AddItem(2, "Letter");
        format.AddItem(5, "Legal");
        format.AddItem(-1, "Automatic");
        format = 9L;
        EXPECT_EQ(c.result, format.SetText(c.text));
        EXPECT_EQ(c.value, format.Value());
    }
}

TEST(iTypeCombo, SetTextWithoutAMapChangesNothing)
{
    iType::TCombo<long> choice(nullptr, "choice", nullptr);
    choice = 4L;
    EXPECT_EQ(0, choice.SetText("Large"));
    EXPECT_EQ(4, choice.Value());
}

TEST(iTypeCombo, AssignBorrowsTheOthersMap)
{
    auto source = std::make_unique<iType::TCombo<long>>(nullptr, "source", nullptr);
    source->AddItem(1, "North");
    iType::TCombo<long> target(nullptr, "target", nullptr);
    target.AddItem(1, "Own");
    target.SetNullValue(3);
    target.Assign(*source);
    target = 1L;
    EXPECT_STREQ("North", target.GetText());
    EXPECT_EQ(source->GetMap(), target.GetMap());
    EXPECT_EQ(3, target.GetNullValue());  // null and default values are not taken

    {
        std::unique_ptr<iType::Base> clone(source->Clone());
        auto* copy = dynamic_cast<iType::TCombo<long>*>(clone.get());
        ASSERT_NE(nullptr, copy);
        EXPECT_EQ(0, copy->Value());
        copy->Value() = 1;
        EXPECT_STREQ("North", copy->GetText());
    }
    // Destroying the borrowers leaves the owner's map whole.
    *source = 1L;
    EXPECT_STREQ("North", source->GetText());

    // The owner taking back its own map from a borrower keeps it (and its names) alive.
    iType::TCombo<long> borrower(nullptr, "borrower", nullptr);
    borrower.Assign(*source);
    source->Assign(borrower);
    EXPECT_EQ(borrower.GetMap(), source->GetMap());
    EXPECT_STREQ("North", source->GetText());
    source->AddItem(2, "South");
    *source = 2L;
    EXPECT_STREQ("South", source->GetText());

    iType::TCombo<long> keeper(nullptr, "keeper", nullptr);
    keeper.AddItem(7, "Seven");
    iType::TCombo<long> mapless(nullptr, "mapless", nullptr);
    keeper.Assign(mapless);  // the other has no map: the own one stays
    keeper = 7L;
    EXPECT_STREQ("Seven", keeper.GetText());
}

TEST(iTypeCombo, ScalarOperations)
{
    unsigned char record[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    iType::TCombo<long> atOffset(record, 4, "c", nullptr);
    EXPECT_EQ(record + 4, atOffset.GetData());
    EXPECT_EQ(0, atOffset.Value());  // construction writes the null value
    EXPECT_EQ(0xFF, record[3]);
    atOffset.SetNullValue(2);
    atOffset.SetDefaultValue(8);
    atOffset.Clear();
    EXPECT_EQ(2, atOffset.GetValue());
    atOffset.SetDefault();
    EXPECT_EQ(8, atOffset.GetValue());
    EXPECT_EQ(1, atOffset.SetMaximum());
    EXPECT_EQ(2147483647, atOffset.Value());

    iType::TCombo<long> other(5L);
    EXPECT_EQ(1, atOffset.CompareTo(other));
    EXPECT_EQ(&atOffset, &atOffset.CopyValue(other));
    EXPECT_EQ(5, atOffset.Value());
    EXPECT_EQ(0, atOffset.CompareTo(other));
    EXPECT_STREQ("+5", atOffset.GetTextFormat("%+ld"));
    EXPECT_EQ(4u, atOffset.GetByteSize());
}
