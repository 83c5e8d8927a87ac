// Colour arithmetic: clamped sums and blends, grey adjustment, HLS and HSV both ways.
#include "toolkit/foundation/QZColor.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(QZColorValue, BlendMixesEachChannelByPercentAndClamps)
{
    struct Case {
        const char* why;
        COLORREF own;
        COLORREF other;
        int percent;
        COLORREF expected;
    };
    const Case cases[] = {
        {"0 percent keeps the colour", RGB(10, 20, 30), RGB(200, 100, 0), 0, RGB(10, 20, 30)},
        {"100 percent gives the other", RGB(10, 20, 30), RGB(200, 100, 0), 100, RGB(200, 100, 0)},
        {"halfway cuts toward zero", RGB(0, 0, 0), RGB(255, 255, 255), 50, RGB(127, 127, 127)},
        {"a third of black into the face", RGB(192, 192, 192), RGB(0, 0, 0), 33, RGB(128, 128, 128)},
        {"past 100 percent clamps at white", RGB(0, 0, 0), RGB(200, 200, 200), 150, RGB(255, 255, 255)},
        {"below 0 percent clamps at black", RGB(0, 100, 0), RGB(255, 0, 255), -50, RGB(0, 150, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        QZColorValue value(c.own);
        EXPECT_EQ(&value, &value.QZBlendColor(c.other, c.percent)) << "blends in place";
        EXPECT_EQ(c.expected, static_cast<COLORREF>(value));
    }
}

TEST(QZColorValue, SumsAndGreyAdjustmentClampEachChannel)
{
    EXPECT_EQ(RGB(255, 28, 18), static_cast<COLORREF>(QZColorValue(RGB(250, 10, 0)).QZAdjustGrey(18)));
    EXPECT_EQ(RGB(255, 255, 255), static_cast<COLORREF>(QZColorValue(RGB(1, 2, 3)).QZAdjustGrey(300)));
    EXPECT_EQ(RGB(1, 2, 3), static_cast<COLORREF>(QZColorValue(RGB(1, 2, 3)).QZAdjustGrey(-40)));
    QZColorValue value(RGB(200, 0, 100));
    QZColorValue sum = value.Add(RGB(100, 5, 100));
    EXPECT_EQ(RGB(255, 5, 200), static_cast<COLORREF>(sum));
    EXPECT_EQ(RGB(200, 0, 100), static_cast<COLORREF>(value)) << "Add leaves the value alone";
    EXPECT_EQ(RGB(0, 255, 7), QZColorValue::FromChannels(-3, 256, 7));
}

TEST(QZColorValue, ToHlsFindsHueSaturationAndLuminance)
{
    struct Case {
        const char* why;
        COLORREF colour;
        double hue;
        double saturation;
        double luminance;
    };
    const Case cases[] = {
        {"pure red", RGB(255, 0, 0), 0.0, 1.0, 0.5},
        {"pure green", RGB(0, 255, 0), 1.0 / 3.0, 1.0, 0.5},
        {"pure blue", RGB(0, 0, 255), 2.0 / 3.0, 1.0, 0.5},
        {"a grey has no hue or saturation", RGB(128, 128, 128), 0.0, 0.0, 128 / 255.0},
        {"red wins the tie with blue; the hue wraps", RGB(255, 0, 255), 5.0 / 6.0, 1.0, 0.5},
        {"light colours use the upper saturation form", RGB(255, 128, 128), 0.0, 1.0, (255 + 128) / 510.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        double h = -1;
        double s = -1;
        double l = -1;
        QZColorValue(c.colour).QZColorToHLS(&h, &s, &l);
        EXPECT_NEAR(c.hue, h, 1e-9);
        EXPECT_NEAR(c.saturation, s, 1e-9);
        EXPECT_NEAR(c.luminance, l, 1e-9);
    }
}

TEST(QZColorValue, FromHlsTruncatesEachChannel)
{
    struct Case {
        const char* why;
        double hue;
        double saturation;
        double luminance;
        COLORREF expected;
    };
    const Case cases[] = {
        {"pure red", 0.0, 1.0, 0.5, RGB(255, 0, 0)},
        {"pure green", 1.0 / 3.0, 1.0, 0.5, RGB(0, 255, 0)},
        {"a hue of 1 wraps round to red", 1.0, 1.0, 0.5, RGB(255, 0, 0)},
        {"no saturation is grey", 0.7, 0.0, 0.5, RGB(127, 127, 127)},
        {"0.999 truncates to 254, not 255", 0.0, 0.0, 0.999, RGB(254, 254, 254)},
        {"negative zero saturation is grey too", 0.2, -0.0, 0.25, RGB(63, 63, 63)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.expected, QZColorValue::QZColorFromHLS(c.hue, c.saturation, c.luminance));
    }
}

TEST(QZColorValue, FromHsvRoundsEachChannel)
{
    struct Case {
        const char* why;
        double hue;
        double saturation;
        double value;
        COLORREF expected;
    };
    const Case cases[] = {
        {"red", 0.0, 1.0, 1.0, RGB(255, 0, 0)},
        {"green", 1.0 / 3.0, 1.0, 1.0, RGB(0, 255, 0)},
        {"magenta, the last sector", 5.0 / 6.0, 1.0, 1.0, RGB(255, 0, 255)},
        {"a hue of 1 wraps round to red", 1.0, 1.0, 1.0, RGB(255, 0, 0)},
        {"grey rounds half up", 0.4, 0.0, 0.5, RGB(128, 128, 128)},
        {"orange between red and yellow", 1.0 / 12.0, 1.0, 1.0, RGB(255, 128, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        QZColorValue colour(RGB(9, 9, 9));
        EXPECT_EQ(c.expected, static_cast<COLORREF>(colour.QZColorFromHSV(c.hue, c.saturation, c.value)));
    }
}

TEST(QZColorValue, HlsRoundTripComesBackWithinTruncation)
{
    for (COLORREF colour : {RGB(12, 200, 99), RGB(255, 255, 0), RGB(3, 4, 250), RGB(180, 90, 45)}) {
        double h = 0;
        double s = 0;
        double l = 0;
        QZColorValue(colour).QZColorToHLS(&h, &s, &l);
        COLORREF back = QZColorValue::QZColorFromHLS(h, s, l);
        SCOPED_TRACE(colour);
        EXPECT_LE(std::abs(GetRValue(colour) - GetRValue(back)), 1);
        EXPECT_LE(std::abs(GetGValue(colour) - GetGValue(back)), 1);
        EXPECT_LE(std::abs(GetBValue(colour) - GetBValue(back)), 1);
    }
}
