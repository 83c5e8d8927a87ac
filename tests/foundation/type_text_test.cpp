// Text fields: zero-padded values cut to the width, texts that fill the width,
// default texts, the four comparison modes, and text arrays over one buffer.
#include "lib/src/iTypeText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

TEST(iTypeString, ValueIsZeroPaddedToTheWidth)
{
    iType::String field(nullptr, "s", nullptr, 8);
    EXPECT_EQ(1, field.SetText("abc"));
    EXPECT_EQ(0, memcmp(field.GetData(), "abc\0\0\0\0\0", 8));
    EXPECT_STREQ("abc", field.GetText());
    EXPECT_EQ(8, field.GetWidth());
    EXPECT_EQ(8u, field.GetByteSize());
}

TEST(iTypeString, TextThatFillsTheWidthIsStillHandedOutTerminated)
{
    // Guard bytes after the three-byte value: a read past it would show them.
    char record[6] = {'#', '#', '#', 'G', 'G', '\0'};
    iType::String field(record, 3, "s", nullptr);
    EXPECT_EQ(1, field.SetText("abcdef"));
    EXPECT_EQ(0, memcmp(record, "abcGG", 5));
    EXPECT_STREQ("abc", field.GetText());
}

TEST(iTypeString, ZeroWidthFieldWritesNothing)
{
    char record[4] = {'a', 'b', 'c', '\0'};
    iType::String field(record, 0, "s", nullptr);
    field.SetDefaultText("default");
    field.Clear();
    EXPECT_EQ(1, field.SetText("xyz"));
    field.SetTextN("xyz", 3);
    EXPECT_STREQ("abc", record);
    EXPECT_STREQ("", field.GetText());
}

TEST(iTypeString, BorrowedFormsClearTheirBytesOnly)
{
    char record[12];
    memset(record, 'x', sizeof record);
    iType::Collection parent("r", nullptr);
    iType::String atOffset(&parent, record, 2, 4, "a", nullptr);
    EXPECT_EQ(record + 2, atOffset.GetData());
    EXPECT_EQ(0, memcmp(record, "xx\0\0\0\0xx", 8));
    iType::String namesFirst(&parent, record, 8, "b", nullptr, 4);
    EXPECT_EQ(record + 8, namesFirst.GetData());
    EXPECT_EQ(2, parent.GetCount());
}

TEST(iTypeString, DefaultTextIsWhatClearAndSetDefaultRestore)
{
    iType::String wide(nullptr, "w", nullptr, 256);
    wide.SetDefaultText("abc");
    EXPECT_STREQ("", wide.GetText());  // the value is not touched
    wide.SetText("other");
    wide.Clear();
    EXPECT_STREQ("abc", wide.GetText());
    wide.SetText("other");
    wide.SetDefault();
    EXPECT_STREQ("abc", wide.GetText());

    iType::String narrow(nullptr, "n", nullptr, 2);
    narrow.SetDefaultText("abc");
    narrow.Clear();
    EXPECT_STREQ("ab", narrow.GetText());
}

TEST(iTypeString, SetDefaultTextKeepsAnEqualCopyAndNeverReadsPastTheText)
{
    iType::String field(nullptr, "s", nullptr, 16);
    field.SetDefaultText("abc");
    const char* first = field.GetDefaultText();
    field.SetDefaultText("abc");
    EXPECT_EQ(first, field.GetDefaultText());
    field.SetDefaultText("abcdef", 3);  // the same three characters
    EXPECT_EQ(first, field.GetDefaultText());

    // n beyond a shorter text: the text ends at its zero, nothing after it is taken.
    char source[8] = {'x', 'y', '\0', 'G', 'G', 'G', 'G', 'G'};
    field.SetDefaultText(source, 8);
    EXPECT_STREQ("xy", field.GetDefaultText());
    EXPECT_EQ(2u, field.GetDefaultLength());
    field.Clear();
    EXPECT_STREQ("xy", field.GetText());

    field.SetDefaultText(nullptr);
    EXPECT_EQ(nullptr, field.GetDefaultText());
    field.Clear();
    EXPECT_STREQ("", field.GetText());
}

TEST(iTypeString, SetStringAndSetTextN)
{
    iType::String field(nullptr, "s", nullptr, 6);
    field.SetDefaultText("def");
    field.SetString("hello world");
    EXPECT_STREQ("hello ", field.GetText());
    field.SetString(nullptr);
    EXPECT_STREQ("def", field.GetText());

    struct Case {
        const char* why;
        const char* text;
        unsigned n;
        const char* expected;
    };
    const Case cases[] = {
        {"n below the text", "abcdef", 2, "ab"},
        {"n past the byte size", "abcdefgh", 40, "abcdef"},
        {"text ends before n", "ab", 5, "ab"},
        {"n 0 copies nothing", "abc", 0, ""},
        {"null text", nullptr, 3, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        field.SetText("zzzzzz");
        field.SetTextN(c.text, c.n);
        EXPECT_STREQ(c.expected, field.GetText());
    }
}

TEST(iTypeString, CompareModes)
{
    struct Case {
        const char* why;
        int mode;
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"case-sensitive, differing case", iType::String::kCaseSensitive, "Alpha", "ALPHA", 1},
        {"case-insensitive, differing case", iType::String::kCaseInsensitive, "Alpha", "ALPHA", 0},
        {"case-sensitive, equal", iType::String::kCaseSensitive, "abc", "abc", 0},
        {"case-sensitive, shorter first", iType::String::kCaseSensitive, "ab", "abc", -1},
        {"from the end", iType::String::kFromEnd, "xa", "ab", -1},
        {"from the end, case-insensitive", iType::String::kFromEndCaseInsensitive, "xAB", "yab", -1},
        {"from the end, same ending", iType::String::kFromEndCaseInsensitive, "AB", "ab", 0},
        {"unknown mode is case-sensitive", 7, "Alpha", "ALPHA", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iType::String a(nullptr, "a", nullptr, 8);
        iType::String b(nullptr, "b", nullptr, 8);
        a.SetText(c.a);
        b.SetText(c.b);
        a.SetCompareMode(c.mode);
        int result = a.CompareTo(b);
        EXPECT_EQ(c.sign, result < 0 ? -1 : (result > 0 ? 1 : 0));
    }
}

TEST(iTypeString, CompareNoCaseBoundsBothTexts)
{
    iType::String field(nullptr, "s", nullptr, 5);
    field.SetText("Hello");  // fills the width: no terminator in the value
    EXPECT_EQ(0, field.CompareNoCase("HELLO", 0));
    EXPECT_EQ(0, field.CompareNoCase("hello world", 5));
    EXPECT_NE(0, field.CompareNoCase("hello world", 0));
    EXPECT_NE(0, field.CompareNoCase("help", 0));
}

TEST(iTypeString, LimitsFillTheWholeWidth)
{
    iType::String field(nullptr, "s", nullptr, 4);
    EXPECT_EQ(1, field.SetMaximum());
    EXPECT_EQ(0, memcmp(field.GetData(), "\x7f\x7f\x7f\x7f", 4));
    EXPECT_EQ(1, field.SetMinimum());
    EXPECT_EQ(0, memcmp(field.GetData(), "\0\0\0\0", 4));
}

TEST(iTypeString, CloneHasWidthAndDefaultButAnEmptyValue)
{
    iType::String field(nullptr, "s", "S", 10);
    field.SetDefaultText("dflt");
    field.SetText("value");
    field.SetInputRule(iType::Base::kInputFull);
    field.SetCompareMode(iType::String::kCaseInsensitive);
    std::unique_ptr<iType::Base> clone(field.Clone());
    auto* copy = dynamic_cast<iType::String*>(clone.get());
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(10u, copy->GetByteSize());
    EXPECT_EQ(10, copy->GetWidth());
    EXPECT_STREQ("dflt", copy->GetDefaultText());
    EXPECT_STREQ("", copy->GetText());
    EXPECT_EQ(iType::Base::kInputFull, copy->GetInputRule());
    EXPECT_EQ(iType::String::kCaseSensitive, copy->GetCompareMode());
    copy->Clear();
    EXPECT_STREQ("dflt", copy->GetText());
}

TEST(iTypeStringArray, CellsAreNamedAndLaidOverTheBuffer)
{
    char buffer[30];
    memset(buffer, 'x', sizeof buffer);
    iType::StringArray array(buffer, 3, 10, "Line", "Text");
    ASSERT_EQ(3, array.GetCount());
    EXPECT_EQ(1u, array.GetFlags());
    EXPECT_EQ(30u, array.GetByteSize());
    const char* names[] = {"Line [  0]", "Line [  1]", "Line [  2]"};
    const char* descriptions[] = {"Text [  1]", "Text [  2]", "Text [  3]"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        iType::Base* cell = array.GetAt(i);
        ASSERT_NE(nullptr, cell);
        EXPECT_STREQ(names[i], cell->GetName());
        EXPECT_STREQ(descriptions[i], cell->GetDescription());
        EXPECT_EQ(buffer + 10 * i, cell->GetData());
        EXPECT_EQ(&array, cell->GetParent());
    }
    for (char c : buffer)
        EXPECT_EQ(0, c);
    array.GetCell(1)->SetText("second");
    EXPECT_STREQ("second", buffer + 10);
    EXPECT_STREQ("second", array.GetText());
    EXPECT_EQ(nullptr, array.Create());
    EXPECT_EQ(nullptr, array.Clone());
}

TEST(iTypeStringArray, CellNamesFitAnyNameLength)
{
    std::string longName(3000, 'n');
    char buffer[8];
    iType::StringArray array(buffer, 2, 4, longName.c_str(), nullptr);
    EXPECT_EQ(longName + " [  1]", array.GetAt(1)->GetName());
    EXPECT_STREQ(" [  2]", array.GetAt(1)->GetDescription());
}

TEST(iTypeStringArray, ParentAndOffsetForms)
{
    char record[16];
    iType::Collection parent("r", nullptr);
    iType::StringArray array(&parent, record, 4, 2, 6, "Cells", nullptr);
    EXPECT_EQ(&parent, array.GetParent());
    EXPECT_EQ(record + 4, array.GetAt(0)->GetData());
    EXPECT_EQ(record + 10, array.GetAt(1)->GetData());
    EXPECT_EQ(1, parent.GetCount());
}
