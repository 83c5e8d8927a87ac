// The toolkit string's editing operations and the stripping of mnemonic markers.
#include "toolkit/foundation/QZString.h"

#include <gtest/gtest.h>

TEST(QZString, FindFromAStartIndex)
{
    const QZString text(CString("abcabc"));
    struct Case {
        const char* why;
        const char* what;
        int start;
        int expected;
    };
    const Case cases[] = {
        {"first occurrence", "bc", 0, 1},
        {"at or after the start", "bc", 2, 4},
        {"not after the start", "ab", 4, -1},
        {"start at the length finds only an empty text", "c", 6, -1},
        {"an empty text at the length", "", 6, 6},
        {"start past the length", "", 7, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.expected, text.Find(c.what, c.start));
    }
}

TEST(QZString, InsertClampsTheIndexAndWritesACopyOfASharedBuffer)
{
    const CString original("abc");
    QZString text(original);
    EXPECT_EQ(4, text.Insert(1, 'X'));
    EXPECT_STREQ("aXbc", text);
    EXPECT_STREQ("abc", original) << "the shared buffer is copied before the change";
    text.Insert(-5, '<');
    text.Insert(99, '>');
    EXPECT_STREQ("<aXbc>", text);
}

TEST(QZString, RemoveReplaceAndDeleteReportWhatTheyDid)
{
    QZString text(CString("a-b-c-"));
    EXPECT_EQ(3, text.Remove('-'));
    EXPECT_STREQ("abc", text);
    EXPECT_EQ(0, text.Remove('z'));

    QZString replaced(CString("aaaa"));
    EXPECT_EQ(2, replaced.Replace("aa", "b")) << "left to right without overlap";
    EXPECT_STREQ("bb", replaced);
    EXPECT_EQ(0, replaced.Replace("", "x"));
    EXPECT_EQ(0, replaced.Replace(nullptr, "x"));
    EXPECT_EQ(2, replaced.Replace("b", nullptr)) << "a null new text is empty";
    EXPECT_STREQ("", replaced);

    QZString deleted(CString("abcdef"));
    EXPECT_EQ(6, deleted.Delete(1, 2)) << "the length before the call";
    EXPECT_STREQ("adef", deleted);
    EXPECT_EQ(4, deleted.Delete(2, 0));
    EXPECT_STREQ("adef", deleted) << "a count of 0 changes nothing";
    EXPECT_EQ(4, deleted.Delete(-3, 1));
    EXPECT_STREQ("def", deleted) << "a negative index counts as 0";
    EXPECT_EQ(3, deleted.Delete(3, 1));
    EXPECT_STREQ("def", deleted) << "an index at the end deletes nothing";
}

TEST(QZString, LeftGivesTheFirstCharacters)
{
    const QZString text(CString("abcdef"));
    EXPECT_STREQ("abc", text.Left(3));
    EXPECT_STREQ("", text.Left(-2));
    const CString whole = text.Left(6);
    EXPECT_EQ(static_cast<LPCSTR>(text), static_cast<LPCSTR>(whole)) << "the whole string shares its buffer";
}

TEST(QZStripMnemonic, SingleMarkersGoDoubledOnesStay)
{
    struct Case {
        const char* why;
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"one marker", "&Open", "Open"},
        {"markers everywhere", "&a&b&", "ab"},
        {"a mnemonic beside a doubled ampersand", "&Save && Exit", "Save && Exit"},
        {"carets become doubled ampersands as well", "a^^b && &c", "a&&b && c"},
        {"nothing to strip", "Plain", "Plain"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CString text(c.text);
        QZStripMnemonic(text);
        EXPECT_STREQ(c.expected, text);
    }
}
