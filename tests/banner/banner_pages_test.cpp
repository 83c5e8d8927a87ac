// The banner's texts and rules without any window or socket: the addresses it asks for,
// the marked and offline pages, how a description is taken, the page order with scripted
// draws, the countdowns, and the history page with its rows.
#include "banner/BannerPages.h"
#include "banner/Cache.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

// The file's own namespace keeps its names apart from the files compiled with it.
namespace banner_pages_test {

namespace {

std::string Text(const iString& text)
{
    return static_cast<const char*>(text);
}

// The C library's own text of the moment (a copy: the library's buffer is shared).
std::string LibraryDate(time_t moment)
{
    return ctime(&moment);
}

// The pages shown from the start (no page yet) with these settings and draws.
std::vector<long> PageSequence(const BannerSettings& settings, const std::vector<int>& draws)
{
    std::vector<long> pages;
    long current = -1;
    for (int draw : draws) {
        current = ChooseNextPage(current, settings, draw);
        pages.push_back(current);
    }
    return pages;
}

BannerSettings Settings(int page, int duration, int promotion, int refresh)
{
    BannerSettings settings;
    settings.page = page;
    settings.duration = duration;
    settings.promotion = promotion;
    settings.refresh = refresh;
    return settings;
}

} // namespace

TEST(BannerAddresses, BaseUrlGetsSchemeAndSlashOnlyWhenMissing)
{
    struct Case {
        const char* why;
        const char* host;
        const char* url;
    };
    const Case cases[] = {
        {"a bare host", "banners.example", "http://banners.example/"},
        {"scheme and slash already there", "http://banners.example/", "http://banners.example/"},
        {"scheme without slash", "http://banners.example", "http://banners.example/"},
        {"slash without scheme", "banners.example/ads/", "http://banners.example/ads/"},
        {"a scheme in capitals is no scheme (case counts)", "HTTP://x", "http://HTTP://x/"},
        {"a loopback address", "127.0.0.1", "http://127.0.0.1/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.url, Text(MakeBannerBaseUrl(c.host)));
    }
}

TEST(BannerAddresses, PageUrlNamesThePageInFourDigits)
{
    const iString base = "http://h/";
    EXPECT_EQ("http://h/0000.html", Text(MakeBannerPageUrl(base, 0)));
    EXPECT_EQ("http://h/0007.html", Text(MakeBannerPageUrl(base, 7)));
    EXPECT_EQ("http://h/0034.html", Text(MakeBannerPageUrl(base, 34)));
    EXPECT_EQ("http://h/12345.html", Text(MakeBannerPageUrl(base, 12345)));
}

TEST(BannerAddresses, MarkOfTheWebNamesTheOriginWithItsLength)
{
    EXPECT_EQ("http://banners.example/", Text(MakeBannerOrigin("banners.example", 80)));
    EXPECT_EQ("http://127.0.0.1:8080/", Text(MakeBannerOrigin("127.0.0.1", 8080)));
    // The count is the origin's length in four digits: 22 characters here.
    EXPECT_EQ("<!-- saved from url=(0022)http://127.0.0.1:8080/ -->\n",
              Text(MakeMarkOfTheWeb(MakeBannerOrigin("127.0.0.1", 8080))));
}

TEST(BannerAddresses, OfflinePageShowsTheProgramsOwnPicture)
{
    EXPECT_EQ("<HTML>\n<BODY leftmargin=\"0\" topmargin=\"0\" marginwidth=\"0\" marginheight=\"0\" scroll=\"NO\">\n"
              "<CENTER><IMG SRC=\"C:\\Program Files\\Sorvanta\\Banner.gif\" WIDTH=\"468\" HEIGHT=\"60\" "
              "ALIGN=\"top\" BORDER=\"0\"></CENTER></BODY></HTML>",
              Text(MakeOfflinePage("C:\\Program Files\\Sorvanta")));
}

TEST(BannerDescription, ValuesThatWouldStopTheBannerAreNotTaken)
{
    struct Case {
        const char* why;
        BannerSettings read;
        BannerSettings taken;
    };
    const BannerSettings current = Settings(12, 5000, 3, 7000);
    const Case cases[] = {
        {"sound values are taken as read", Settings(5, 3000, -1, 3600), Settings(5, 3000, -1, 3600)},
        {"Page 0 would leave nothing to draw: the current Page stays", Settings(0, 3000, 1, 3600),
         Settings(12, 3000, 1, 3600)},
        {"a negative Page would name negative pages: the current Page stays", Settings(-4, 3000, 1, 3600),
         Settings(12, 3000, 1, 3600)},
        {"a negative Duration never comes round: its default", Settings(5, -1, 1, 3600),
         Settings(5, 60000, 1, 3600)},
        {"a negative Refresh never comes round: its default", Settings(5, 3000, 1, -100),
         Settings(5, 3000, 1, 360000)},
        {"Duration 0 and Refresh 0 keep their meaning (every tick)", Settings(5, 0, 1, 0), Settings(5, 0, 1, 0)},
        {"a negative Promotion other than -1 names no page: none", Settings(5, 3000, -7, 3600),
         Settings(5, 3000, -1, 3600)},
        {"the largest numbers the reader gives", Settings(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX),
         Settings(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const BannerSettings taken = AcceptDescription(current, c.read);
        EXPECT_EQ(c.taken.page, taken.page);
        EXPECT_EQ(c.taken.duration, taken.duration);
        EXPECT_EQ(c.taken.promotion, taken.promotion);
        EXPECT_EQ(c.taken.refresh, taken.refresh);
    }
}

TEST(BannerSchedule, PagesFollowThePromotionAndTheDraws)
{
    struct Case {
        const char* why;
        BannerSettings settings;
        std::vector<int> draws;
        std::vector<long> pages;
    };
    const Case cases[] = {
        {"promotion 3 of 35: the promoted page alternates with random ones", Settings(35, 60000, 3, 360000),
         {100, 36, 100, 70, 100}, {3, 1, 3, 0, 3}},
        {"the defaults: page 0 alternates with random pages", BannerSettings(), {100, 40, 100, 69}, {0, 5, 0, 34}},
        {"no promotion: every page is drawn", Settings(5, 60000, -1, 360000), {7, 8, 9, 10}, {2, 3, 4, 0}},
        {"a draw equal to the promotion is followed by a draw again, not the promotion",
         Settings(35, 60000, 3, 360000), {0, 38, 72, 0}, {3, 3, 2, 3}},
        {"a draw at the top of the generator's range", Settings(35, 60000, -1, 360000), {RAND_MAX}, {RAND_MAX % 35}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.pages, PageSequence(c.settings, c.draws));
    }
}

TEST(BannerSchedule, CountdownsFireAtOrBelowZero)
{
    struct Case {
        const char* why;
        int start;
        std::vector<bool> fires;  // tick by tick
    };
    const Case cases[] = {
        {"3000: the third tick", 3000, {false, false, true}},
        {"0: every tick", 0, {true, true, true}},
        {"1500 is no multiple of a second: fires when it passes 0", 1500, {false, true}},
        {"1: the first tick", 1, {true}},
        {"already below 0: every tick, not lowered further", -500, {true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        int countdown = c.start;
        for (size_t tick = 0; tick < c.fires.size(); ++tick)
            EXPECT_EQ(c.fires[tick], CountDown(countdown)) << "tick " << tick + 1;
    }
}

TEST(BannerHistoryText, BodyIsWhatStandsBetweenTheBodyTags)
{
    struct Case {
        const char* why;
        const char* page;
        bool found;
        const char* body;
    };
    const Case cases[] = {
        {"plain tags", "<HTML><BODY>ad one</BODY></HTML>", true, "ad one"},
        {"lower case with attributes", "<html><body bgcolor=\"red\" onload=\"x()\">ad <b>two</b></body></html>", true,
         "ad <b>two</b>"},
        {"mixed case", "<Body>three</bOdY>", true, "three"},
        {"closing tag without an opening one", "<HTML>text</BODY>", false, ""},
        {"opening tag without a closing one", "<BODY>text", false, ""},
        {"an opening tag that never ends before the closing one", "<BODY </BODY>", false, ""},
        {"the closing tag before the opening one", "</BODY><BODY>x", false, ""},
        {"an empty body", "<BODY></BODY>", true, ""},
        {"bytes above 127 in the body", "<BODY>\xE9t\xE9</BODY>", true, "\xE9t\xE9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        unsigned start = 0;
        unsigned length = 0;
        const std::string page = c.page;
        ASSERT_EQ(c.found, FindBannerBody(page.data(), static_cast<unsigned>(page.size()), start, length));
        if (c.found) {
            EXPECT_EQ(c.body, page.substr(start, length));
        }
    }
}

TEST(BannerHistoryText, ShownTimesAreDatedPast2038AndNotBefore1970)
{
    // 1 June 2040, 12:00 UTC: past the end of 32-bit signed time.
    constexpr int64_t kIn2040 = 2222164800;
    EXPECT_EQ(LibraryDate(1700000000), Text(FormatShownTime(1700000000)));
    EXPECT_EQ(24u + 1u, Text(FormatShownTime(1700000000)).size());
    EXPECT_EQ(LibraryDate(kIn2040), Text(FormatShownTime(kIn2040)));
    EXPECT_NE(std::string::npos, Text(FormatShownTime(kIn2040)).find("2040"));
    // A record's 4-byte field holds the low 32 bits of the time: read back, they are the time again.
    EXPECT_EQ(kIn2040, StoredTimeSeconds(StoredTime(kIn2040)));
    EXPECT_EQ(1700000000, StoredTimeSeconds(StoredTime(1700000000)));
    // Before 1970: no date, and no crash formatting it.
    EXPECT_EQ("", Text(FormatShownTime(-1)));
    EXPECT_EQ("", Text(FormatShownTime(INT32_MIN)));
}

TEST(BannerHistoryText, PageListsItsRowsAfterTheMarkOfTheWeb)
{
    const std::vector<BannerHistoryRow> rows = {{7, 1700000500, "<b>seven</b>"}, {2, 1700000100, "two"}};
    const std::string expected = std::string("<!-- saved from url=(0023)http://banners.example/ -->\n") +
                                 "<HTML>\n<HEAD>\n<TITLE>Ad History</TITLE>\n</HEAD>\n<BODY>\n"
                                 "<TABLE BORDER=\"0\" CELLPADDING=\"0\" CELLSPACING=\"0\" WIDTH=\"100%\">\n"
                                 "<TR>\n<TD WIDTH=\"100%\">\n<!-- 7 " +
                                 LibraryDate(1700000500) + " -->\n<b>seven</b></TD>\n</TR>\n" +
                                 "<TR>\n<TD WIDTH=\"100%\">\n<!-- 2 " + LibraryDate(1700000100) +
                                 " -->\ntwo</TD>\n</TR>\n"
                                 "</TABLE>\n</BODY>\n</HTML>\n";
    EXPECT_EQ(expected,
              Text(MakeHistoryPage(MakeMarkOfTheWeb(MakeBannerOrigin("banners.example", 80)), rows)));
}

} // namespace banner_pages_test
