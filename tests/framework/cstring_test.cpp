// The framework string: sharing and copy on write, buffer operations, search and formatting.
#include "framework/Framework.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

// Exposes the data header, as the library's own string classes use it.
class Probe : public CString {
public:
    using CString::CString;
    Probe(const CString& s) : CString(s) {}
    long Refs() const { return GetData()->nRefs; }
    int Alloc() const { return GetData()->nAllocLength; }
    const void* Buffer() const { return m_pchData; }
};

// Keeps the allocation observable so that the compiler cannot elide it.
char* volatile g_keep = nullptr;

} // namespace

TEST(CString, CopiesShareUntilOneChanges)
{
    Probe a("hello");
    Probe b(a);
    EXPECT_EQ(a.Buffer(), b.Buffer());
    EXPECT_EQ(2, a.Refs());
    b.SetAt(0, 'j');
    EXPECT_NE(a.Buffer(), b.Buffer());
    EXPECT_STREQ("hello", a);
    EXPECT_STREQ("jello", b);
    EXPECT_EQ(1, a.Refs());
}

TEST(CString, ConstructorsFillAsAsked)
{
    EXPECT_STREQ("", CString());
    EXPECT_STREQ("", CString(static_cast<const char*>(nullptr)));
    EXPECT_STREQ("xxx", CString('x', 3));
    EXPECT_STREQ("", CString('x', 0));
    EXPECT_STREQ("ab", CString("abcdef", 2));
    EXPECT_EQ(4, CString("ab\0d", 4).GetLength());
}

TEST(CString, AssignmentAndConcatenation)
{
    CString s = "ab";
    s += "cd";
    s += 'e';
    s += s;
    EXPECT_STREQ("abcdeabcde", s);
    EXPECT_EQ(10, s.GetLength());
    EXPECT_STREQ("xab", CString('x') + CString("ab"));
    EXPECT_STREQ("abx", CString("ab") + 'x');
    EXPECT_STREQ("preab", "pre" + CString("ab"));
    s = static_cast<const char*>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CString, SelfAppendThroughSharedBufferIsSafe)
{
    CString a("xy");
    CString b(a);
    a += b;
    EXPECT_STREQ("xyxy", a);
    EXPECT_STREQ("xy", b);
}

TEST(CString, ComparisonIsBytewise)
{
    EXPECT_LT(CString("B"), CString("a"));
    EXPECT_LT(CString("a"), CString("\xe9"));  // bytes above 127 sort after ASCII
    EXPECT_EQ(0, CString("Abc").CompareNoCase("aBC"));
    EXPECT_TRUE(CString("x") == "x");
    EXPECT_TRUE("y" != CString("x"));
}

TEST(CString, SubstringsClampToTheText)
{
    CString s("abcdef");
    struct Case { const char* why; CString got; const char* want; };
    const Case cases[] = {
        {"left inside", s.Left(2), "ab"},
        {"left beyond", s.Left(10), "abcdef"},
        {"left negative", s.Left(-1), ""},
        {"mid to end", s.Mid(4), "ef"},
        {"mid counted", s.Mid(1, 3), "bcd"},
        {"mid past end", s.Mid(9, 2), ""},
        {"mid negative start", s.Mid(-2, 2), "ab"},
        {"right inside", s.Right(3), "def"},
        {"right beyond", s.Right(7), "abcdef"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_STREQ(c.want, c.got);
    }
}

TEST(CString, SearchesFromAnIndex)
{
    CString s("a.b.c");
    EXPECT_EQ(1, s.Find('.'));
    EXPECT_EQ(3, s.Find('.', 2));
    EXPECT_EQ(-1, s.Find('.', 5));
    EXPECT_EQ(2, s.Find("b.c"));
    EXPECT_EQ(-1, s.Find("b", 3));
    EXPECT_EQ(5, s.Find("", 5));
    EXPECT_EQ(-1, s.Find("", 6));
    EXPECT_EQ(3, s.ReverseFind('.'));
    EXPECT_EQ(-1, s.ReverseFind('x'));
    EXPECT_EQ(1, s.FindOneOf("c."));
    EXPECT_EQ(-1, s.FindOneOf("xyz"));
}

TEST(CString, CaseAndTrimLeaveSharedCopiesAlone)
{
    CString a("  MiXed  ");
    CString b(a);
    a.MakeUpper();
    EXPECT_STREQ("  MIXED  ", a);
    EXPECT_STREQ("  MiXed  ", b);
    a.MakeLower();
    a.TrimLeft();
    a.TrimRight();
    EXPECT_STREQ("mixed", a);
}

TEST(CString, FormatHandlesAnyLengthAndOwnArguments)
{
    CString s;
    s.Format("%d-%s-%05.1f", 42, "x", 3.14159);
    EXPECT_STREQ("42-x-003.1", s);
    std::string big(10000, 'q');
    s.Format("<%s>", big.c_str());
    EXPECT_EQ(10002, s.GetLength());
    s = "self";
    s.Format("%s %s", static_cast<const char*>(s), static_cast<const char*>(s));
    EXPECT_STREQ("self self", s);
}

TEST(CString, GetBufferReleaseBufferSetsLengthFromTheZero)
{
    CString s("abc");
    CString shared(s);
    char* p = s.GetBuffer(10);
    EXPECT_STREQ("abc", p);
    strcpy(p, "abcdefgh");
    s.ReleaseBuffer();
    EXPECT_EQ(8, s.GetLength());
    EXPECT_STREQ("abc", shared);

    p = s.GetBuffer(0);
    p[2] = '\0';
    s.ReleaseBuffer();
    EXPECT_STREQ("ab", s);

    p = s.GetBufferSetLength(4);
    p[2] = 'y';
    p[3] = 'z';
    s.ReleaseBuffer(4);
    EXPECT_STREQ("abyz", s);

    s.GetBuffer(3);
    s.ReleaseBuffer(2);
    EXPECT_STREQ("ab", s);
}

TEST(CString, EmptyStringIsSharedAndNeverFreed)
{
    Probe a;
    Probe b;
    EXPECT_EQ(a.Buffer(), b.Buffer());
    EXPECT_EQ(-1, a.Refs());
    a = "x";
    a.Empty();
    EXPECT_EQ(b.Buffer(), a.Buffer());
}

TEST(CString, LoadStringAnswersFalseForAMissingEntry)
{
    CString s("kept");
    EXPECT_FALSE(s.LoadString(54321));
    EXPECT_STREQ("kept", s);
}

TEST(CString, LoadStringReadsLongEntriesWhole)
{
    // Ids of cstring_test.rc; 255 and 256 sit on the first buffer's edge, 600 needs two growths.
    struct Case { UINT id; int length; };
    const Case kCases[] = {{7300, 255}, {7301, 256}, {7302, 600}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.length);
        char expected[1024] = "";
        ASSERT_EQ(c.length, LoadStringA(AfxGetResourceHandle(), c.id, expected, sizeof expected));
        CString s("old");
        ASSERT_TRUE(s.LoadString(c.id));
        EXPECT_EQ(c.length, s.GetLength());
        EXPECT_STREQ(expected, s);
    }
}

TEST(FrameworkExceptions, HugeAllocationThrowsTheMemoryException)
{
    bool caught = false;
    TRY {
        CString s;
        s.GetBuffer(INT_MAX);  // header and terminator no longer fit an int-sized block
    }
    CATCH(CMemoryException, e) {
        caught = true;
        e->Delete();
    }
    END_CATCH
    EXPECT_TRUE(caught);
}

TEST(FrameworkExceptions, FailedOperatorNewThrowsTheMemoryException)
{
    bool caught = false;
    try {
        volatile size_t huge = static_cast<size_t>(-1) / 2;
        g_keep = new char[huge];
    } catch (CMemoryException* e) {
        caught = true;
        e->Delete();
    }
    EXPECT_TRUE(caught);
}

TEST(CString, ReplaceSubstitutesEveryOccurrenceWithoutOverlaps)
{
    struct Case { const char* why; const char* text; const char* from; const char* to; int count; const char* result; };
    const Case kCases[] = {
        {"several", "a-b-c", "-", "+", 2, "a+b+c"},
        {"longer replacement", "xx", "x", "abc", 2, "abcabc"},
        {"shorter replacement", "abcabc", "bc", "", 2, "aa"},
        {"overlapping matches count once", "aaaa", "aa", "b", 2, "bb"},
        {"at both ends", "%s and %s", "%s", "it", 2, "it and it"},
        {"no match", "abc", "x", "y", 0, "abc"},
        {"old text longer than the string", "ab", "abc", "y", 0, "ab"},
        {"empty old text", "abc", "", "y", 0, "abc"},
        {"null old text", "abc", nullptr, "y", 0, "abc"},
        {"null new text removes", "a.b.", ".", nullptr, 2, "ab"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        CString s(c.text);
        EXPECT_EQ(c.count, s.Replace(c.from, c.to));
        EXPECT_STREQ(c.result, s);
        EXPECT_EQ(static_cast<int>(strlen(c.result)), s.GetLength());
    }
}

TEST(CString, ReplaceLeavesSharedCopiesAlone)
{
    CString original("a/b/c");
    CString copy(original);
    EXPECT_EQ(2, copy.Replace('/', '\\'));
    EXPECT_STREQ("a\\b\\c", copy);
    EXPECT_STREQ("a/b/c", original);
    CString text(original);
    EXPECT_EQ(1, text.Replace("b", "bee"));
    EXPECT_STREQ("a/b/c", original);
    EXPECT_EQ(0, text.Replace('x', 'y'));
    EXPECT_EQ(0, text.Replace('e', 'e')) << "same character: nothing changes";

    // Characters after an embedded zero are still searched.
    CString withZero("a\0a", 3);
    EXPECT_EQ(2, withZero.Replace("a", "b"));
    EXPECT_EQ(3, withZero.GetLength());
    EXPECT_EQ('b', withZero[2]);
}

TEST(AfxExtractSubString, FindsTheFieldOrSaysThereIsNone)
{
    struct Case { const char* why; const char* full; int index; char separator; BOOL found; const char* field; };
    const Case cases[] = {
        {"first of several", "Title\nPrompt\nTip", 0, '\n', TRUE, "Title"},
        {"middle", "Title\nPrompt\nTip", 1, '\n', TRUE, "Prompt"},
        {"last, no separator after it", "Title\nPrompt\nTip", 2, '\n', TRUE, "Tip"},
        {"one past the last", "Title\nPrompt\nTip", 3, '\n', FALSE, ""},
        {"empty field between separators", "a\n\nc", 1, '\n', TRUE, ""},
        {"empty field after a trailing separator", "a\n", 1, '\n', TRUE, ""},
        {"no separator: the whole text", "whole", 0, '\n', TRUE, "whole"},
        {"empty text has one empty field", "", 0, '\n', TRUE, ""},
        {"another separator", "x|y", 1, '|', TRUE, "y"},
        {"negative index", "a\nb", -1, '\n', FALSE, ""},
        {"null text", nullptr, 0, '\n', FALSE, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CString field = "left over";
        EXPECT_EQ(c.found, AfxExtractSubString(field, c.full, c.index, c.separator));
        EXPECT_STREQ(c.field, field);
    }
}
