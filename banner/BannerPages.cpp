// The banner's texts, description rules and schedule.
#include "banner/BannerPages.h"

#include <cstring>
#include <ctime>

namespace {

constexpr char kScheme[] = "http://";
constexpr int kDefaultHttpPort = 80;

// ASCII only: page bytes above 127 are compared as they are.
char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Where the first occurrence of what lies in text at or after from, ignoring case;
// false when there is none.
bool FindIgnoringCase(const char* text, unsigned length, unsigned from, const char* what, unsigned& at)
{
    const unsigned whatLength = static_cast<unsigned>(strlen(what));
    for (unsigned i = from; i + whatLength <= length; ++i) {
        unsigned matched = 0;
        while (matched < whatLength && LowerAscii(text[i + matched]) == LowerAscii(what[matched]))
            ++matched;
        if (matched == whatLength) {
            at = i;
            return true;
        }
    }
    return false;
}

} // namespace

iString MakeBannerBaseUrl(const char* host)
{
    iString url = host ? host : "";
    if (strncmp(url, kScheme, strlen(kScheme)) != 0)
        url = iString(kScheme) + url;
    if (url.IsEmpty() || url[url.GetLength() - 1] != '/')
        url += "/";
    return url;
}

iString MakeBannerPageUrl(const iString& baseUrl, long page)
{
    iString url;
    url.Format("%s%04ld.html", static_cast<const char*>(baseUrl), page);
    return url;
}

iString MakeBannerOrigin(const char* host, int port)
{
    iString origin;
    if (port == kDefaultHttpPort)
        origin.Format("%s%s/", kScheme, host ? host : "");
    else
        origin.Format("%s%s:%d/", kScheme, host ? host : "", port);
    return origin;
}

iString MakeMarkOfTheWeb(const iString& origin)
{
    iString line;
    line.Format("<!-- saved from url=(%04d)%s -->\n", origin.GetLength(), static_cast<const char*>(origin));
    return line;
}

iString MakeOfflinePage(const char* moduleDirectory)
{
    iString page = "<HTML>\n<BODY leftmargin=\"0\" topmargin=\"0\" marginwidth=\"0\" marginheight=\"0\" "
                   "scroll=\"NO\">\n<CENTER><IMG SRC=\"";
    page += moduleDirectory;
    page += "\\Banner.gif";
    page += "\" WIDTH=\"468\" HEIGHT=\"60\" ALIGN=\"top\" BORDER=\"0\"></CENTER></BODY></HTML>";
    return page;
}

BannerSettings AcceptDescription(const BannerSettings& current, const BannerSettings& read)
{
    const BannerSettings defaults;
    BannerSettings accepted = read;
    if (accepted.page <= 0)
        accepted.page = current.page;
    if (accepted.duration < 0)
        accepted.duration = defaults.duration;
    if (accepted.refresh < 0)
        accepted.refresh = defaults.refresh;
    if (accepted.promotion < 0)
        accepted.promotion = -1;
    return accepted;
}

long ChooseNextPage(long currentPage, const BannerSettings& settings, int draw)
{
    if (settings.promotion == -1 || currentPage == settings.promotion)
        return static_cast<long>(static_cast<unsigned>(draw) % static_cast<unsigned>(settings.page));
    return settings.promotion;
}

bool CountDown(int& countdownMs)
{
    if (countdownMs > 0)
        countdownMs -= kBannerTickMs;
    return countdownMs <= 0;
}

bool FindBannerBody(const char* text, unsigned length, unsigned& bodyStart, unsigned& bodyLength)
{
    unsigned open = 0;
    unsigned close = 0;
    unsigned tagEnd = 0;
    if (!text || !FindIgnoringCase(text, length, 0, "<BODY", open) ||
        !FindIgnoringCase(text, length, 0, "</BODY>", close) || !FindIgnoringCase(text, length, open + 1, ">", tagEnd))
        return false;
    // An opening tag that only ends inside or after the closing one encloses nothing.
    if (tagEnd + 1 > close)
        return false;
    bodyStart = tagEnd + 1;
    bodyLength = close - bodyStart;
    return true;
}

iString FormatShownTime(int64_t seconds)
{
    // The 64-bit form whatever time_t is: a 32-bit one ends in January 2038.
    const __time64_t moment = seconds;
    const char* text = _ctime64(&moment);
    return text ? iString(text) : iString();
}

iString MakeHistoryPage(const iString& markOfTheWeb, const std::vector<BannerHistoryRow>& rows)
{
    iString page = markOfTheWeb;
    page += "<HTML>\n<HEAD>\n<TITLE>Ad History</TITLE>\n</HEAD>\n<BODY>\n";
    page += "<TABLE BORDER=\"0\" CELLPADDING=\"0\" CELLSPACING=\"0\" WIDTH=\"100%\">\n";
    for (const BannerHistoryRow& row : rows) {
        page += "<TR>\n";
        page += "<TD WIDTH=\"100%\">\n";
        // The date text ends with a line end of its own: the comment closes on the next line.
        iString comment;
        comment.Format("<!-- %ld %s -->\n", row.id, static_cast<const char*>(FormatShownTime(row.shown)));
        page += comment;
        page += row.body;
        page += "</TD>\n";
        page += "</TR>\n";
    }
    page += "</TABLE>\n";
    page += "</BODY>\n</HTML>\n";
    return page;
}
