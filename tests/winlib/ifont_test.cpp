// Fonts made in one call: the logical-height form keeps every field as given; the
// point-size form converts tenths of a point through the DC (or the screen) and keeps
// the first 31 characters of a face name.
#include "lib/src/Win2/Wnd/iFont.h"

#include <gtest/gtest.h>

#include <string>

TEST(IFont, LogicalFormKeepsEveryFieldAsGiven)
{
    const iFont font(8, 7, 0, 0, FW_NORMAL, TRUE, FALSE, TRUE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    ASSERT_NE(nullptr, font.m_hObject);
    LOGFONTA made = {};
    ASSERT_NE(0, font.GetLogFont(&made));
    EXPECT_EQ(8, made.lfHeight);
    EXPECT_EQ(7, made.lfWidth);
    EXPECT_EQ(FW_NORMAL, made.lfWeight);
    EXPECT_EQ(TRUE, made.lfItalic);
    EXPECT_EQ(FALSE, made.lfUnderline);
    EXPECT_EQ(TRUE, made.lfStrikeOut);
    EXPECT_EQ(DEFAULT_CHARSET, made.lfCharSet);
    EXPECT_EQ(PROOF_QUALITY, made.lfQuality);
    EXPECT_STREQ("MS Sans Serif", made.lfFaceName);
}

TEST(IFont, PointSizeFormConvertsThroughTheDC)
{
    CDC screenCompatible;
    ASSERT_TRUE(screenCompatible.CreateCompatibleDC(nullptr));
    CDC twips;
    ASSERT_TRUE(twips.CreateCompatibleDC(nullptr));
    twips.SetMapMode(MM_TWIPS);
    const int dpi = screenCompatible.GetDeviceCaps(LOGPIXELSY);
    // 12 points: dpi / 6 pixels; a twip is a twentieth of a point.
    struct Case {
        const char* why;
        CDC* dc;
        LONG height;
    };
    const Case kCases[] = {
        {"the screen when no DC is given", nullptr, -MulDiv(dpi, 12, 72)},
        {"a memory DC in pixels", &screenCompatible, -MulDiv(dpi, 12, 72)},
        {"a DC in twips", &twips, -MulDiv(MulDiv(dpi, 12, 72), 1440, dpi)},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const iFont font(120, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial", c.dc);
        LOGFONTA made = {};
        ASSERT_NE(0, font.GetLogFont(&made));
        EXPECT_EQ(c.height, made.lfHeight);
        EXPECT_EQ(FW_BOLD, made.lfWeight);
        EXPECT_STREQ("Arial", made.lfFaceName);
    }
}

TEST(IFont, PointSizeFormKeepsTheFirst31CharactersOfTheFace)
{
    const std::string longName = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij";  // 36 characters
    const iFont font(100, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, longName.c_str(), nullptr);
    LOGFONTA made = {};
    ASSERT_NE(0, font.GetLogFont(&made));
    EXPECT_EQ(longName.substr(0, 31), std::string(made.lfFaceName));
    const iFont noFace(100, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, nullptr, nullptr);
    ASSERT_NE(0, noFace.GetLogFont(&made));
    EXPECT_STREQ("", made.lfFaceName);
}

TEST(IFont, DestructorDeletesTheFont)
{
    HGDIOBJ handle = nullptr;
    {
        const iFont font(10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
        handle = font.m_hObject;
        ASSERT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(handle));
    }
    EXPECT_EQ(0u, GetObjectType(handle));
}
