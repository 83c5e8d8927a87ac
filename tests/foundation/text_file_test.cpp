// Text output: padded and cut texts, single characters, and formatted text of any
// length written whole.
#include "lib/src/iTextFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A text file in the temporary directory, deleted afterwards.
class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH + 1];
        GetTempPathA(sizeof temp, temp);
        m_path = std::string(temp) + "SorvantaTextFile" + std::to_string(GetCurrentProcessId()) + ".txt";
        ASSERT_TRUE(m_file.Open(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    }
    void TearDown() override
    {
        m_file.Close();
        DeleteFileA(m_path.c_str());
    }

    // What the file holds so far.
    std::string Written()
    {
        iFile reader(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL);
        std::string bytes(reader.GetSize(nullptr), '\0');
        DWORD done = 0;
        if (!bytes.empty() && !reader.Read(&bytes[0], static_cast<DWORD>(bytes.size()), &done))
            return "<unreadable>";
        return bytes;
    }

    std::string m_path;
    iTextFile m_file;
};

} // namespace

TEST_F(TextFileTest, WritePaddedCutsOrFillsWithBlanks)
{
    struct Case { const char* text; unsigned width; const char* written; };
    const Case cases[] = {
        {"abc", 5, "abc  "}, {"abc", 2, "ab"}, {"abc", 0, "abc"}, {"abc", 3, "abc"}, {nullptr, 3, "   "},
        {"", 0, ""},
    };
    std::string expected;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        EXPECT_TRUE(m_file.WritePadded(c.text, c.width));
        expected += c.written;
        EXPECT_EQ(expected, Written());
    }
}

TEST_F(TextFileTest, WidePaddingIsWrittenWhole)
{
    EXPECT_TRUE(m_file.WritePadded("x", 1000));
    EXPECT_EQ("x" + std::string(999, ' '), Written());
}

TEST_F(TextFileTest, WriteCharAndPrintf)
{
    EXPECT_TRUE(m_file.WriteChar('<'));
    EXPECT_EQ(13, m_file.Printf("%s%04ld.html", "page", 7L));
    EXPECT_EQ("<page0007.html", Written());
    const char* noFormat = nullptr;
    EXPECT_EQ(0, m_file.Printf(noFormat));
    EXPECT_EQ("<page0007.html", Written());
}

TEST_F(TextFileTest, PrintfWritesAnyLengthWhole)
{
    std::string expected;
    for (size_t length : {4095u, 4096u, 4097u, 100000u}) {
        SCOPED_TRACE(length);
        std::string text(length, 'h');
        text[length - 1] = 'e';  // the end must arrive too
        EXPECT_EQ(static_cast<int>(length), m_file.Printf("%s", text.c_str()));
        expected += text;
    }
    EXPECT_EQ(expected, Written());
}

TEST_F(TextFileTest, PrintfKeepsEmbeddedZeros)
{
    EXPECT_EQ(3, m_file.Printf("a%cb", 0));
    EXPECT_EQ(std::string("a\0b", 3), Written());
}

namespace {

// Takes at most two bytes a call and still reports success, as a full disk or a
// pipe may: the caller must look at the count, not only the result.
class ShortWritingFile : public iTextFile {
public:
    BOOL Write(const void* buffer, DWORD n, DWORD* done) override
    {
        return iTextFile::Write(buffer, n < 2 ? n : 2, done);
    }
};

} // namespace

TEST_F(TextFileTest, AShortWriteIsAFailure)
{
    m_file.Close();
    ShortWritingFile file;
    ASSERT_TRUE(file.Open(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(-1, file.Printf("%s", "hello"));
    EXPECT_FALSE(file.WritePadded("hello", 0));
    EXPECT_FALSE(file.WritePadded("ab", 5));  // the text fits one call, its three blanks do not
    EXPECT_TRUE(file.WriteChar('x'));
    EXPECT_EQ(2, file.Printf("%d", 42));
}

TEST(TextFile, WritesOnAClosedFileFail)
{
    iTextFile closed;
    EXPECT_FALSE(closed.WriteChar('x'));
    EXPECT_FALSE(closed.WritePadded("abc", 5));
    EXPECT_EQ(-1, closed.Printf("%d", 5));
}
