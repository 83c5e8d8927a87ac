// The texts the banner makes, and its rules for the server's description and its page
// schedule: plain text and arithmetic, with no window, socket or file, so that tests
// check them directly.
#pragma once

#include "banner/BannerSettings.h"

#include "lib/src/iString.h"

#include <cstdint>
#include <vector>

// The worker's tick is counted as one second of the countdowns.
constexpr int kBannerTickMs = 1000;

// "http://" + host + "/": the scheme only when host does not begin with it (case
// counts), the slash only when the text does not end with one.
iString MakeBannerBaseUrl(const char* host);
// The base URL and the page number in four digits: "<base>0007.html".
iString MakeBannerPageUrl(const iString& baseUrl, long page);
// Where the banner's pages come from, as the browser should see it: "http://host/",
// with ":port" when the port is not 80.
iString MakeBannerOrigin(const char* host, int port);
// The first line of a page the program writes from the server's text: it names the
// page's origin, so that the browser runs it in that origin's Internet zone and not
// with the rights of a file on this computer: "<!-- saved from url=(NNNN)<origin> -->\n".
iString MakeMarkOfTheWeb(const iString& origin);
// The page shown when the server cannot be reached: the local "Banner.gif" of the
// program's folder, centred.
iString MakeOfflinePage(const char* moduleDirectory);

// The settings after a description was read: what it said, except that a Page of 0 or
// less keeps the current Page (there would be no page to draw), a negative Duration or
// Refresh becomes its default (a countdown would never come round again), and a
// negative Promotion other than -1 means none as -1 does (there is no such page).
BannerSettings AcceptDescription(const BannerSettings& current, const BannerSettings& read);

// The next page: a random one (draw modulo Page) when there is no promotion or the
// promoted page was shown last, otherwise the promoted page. Page must be above 0.
long ChooseNextPage(long currentPage, const BannerSettings& settings, int draw);
// One tick of a countdown: it is lowered by a second unless it already stands at 0 or
// below, and fires once it stands at 0 or below, so that a value that is no multiple of
// a second still comes round. 0 fires on every tick.
[[nodiscard]] bool CountDown(int& countdownMs);

// The body of a cached page as the history shows it: what stands between the end of
// the opening body tag and the closing one, the tags found ignoring case. False when a
// tag is missing or they stand the wrong way round.
[[nodiscard]] bool FindBannerBody(const char* text, unsigned length, unsigned& bodyStart, unsigned& bodyLength);
// The standard text of a moment in seconds since 1970 ("Thu Dec 10 23:23:00 2026\n"),
// or an empty text for one the C library cannot turn into a date (before 1970).
iString FormatShownTime(int64_t seconds);

// One row of the history page: a shown banner's number, when it was last shown (seconds
// since 1970), and its body.
struct BannerHistoryRow {
    long id;
    int64_t shown;
    iString body;
};
// The most rows the history page shows.
constexpr size_t kHistoryRows = 10;
// The history page: the mark of the web, then a table of one row per banner in the
// order given.
iString MakeHistoryPage(const iString& markOfTheWeb, const std::vector<BannerHistoryRow>& rows);
