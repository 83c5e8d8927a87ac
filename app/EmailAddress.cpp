// The address check of the send-to-friend form.
#include "app/EmailAddress.h"

#include <cstring>

namespace {

// The known top-level domains, lower case, without the dot, searched in order: 14 generic
// names, then 243 two-letter country codes in alphabetical order (with "uk" but no "gb",
// and "tp", "yu" and "an").
const char* const TopLevelDomainTable[] = {
    "com", "net", "org", "edu", "gov", "mil", "int", "biz", "info", "pro", "aero", "name", "coop", "museum", "ac",
    "ad", "ae", "af", "ag", "ai", "al", "am", "an", "ao", "aq", "ar", "as", "at", "au", "aw", "az", "ba", "bb",
    "bd", "be", "bf", "bg", "bh", "bi", "bj", "bm", "bn", "bo", "br", "bs", "bt", "bv", "bw", "by", "bz", "ca",
    "cc", "cd", "cf", "cg", "ch", "ci", "ck", "cl", "cm", "cn", "co", "cr", "cu", "cv", "cx", "cy", "cz", "de",
    "dj", "dk", "dm", "do", "dz", "ec", "ee", "eg", "eh", "er", "es", "et", "fi", "fj", "fk", "fm", "fo", "fr",
    "ga", "gd", "ge", "gf", "gg", "gh", "gi", "gl", "gm", "gn", "gp", "gq", "gr", "gs", "gt", "gu", "gw", "gy",
    "hk", "hm", "hn", "hr", "ht", "hu", "id", "ie", "il", "im", "in", "io", "iq", "ir", "is", "it", "je", "jm",
    "jo", "jp", "ke", "kg", "kh", "ki", "km", "kn", "kp", "kr", "kw", "ky", "kz", "la", "lb", "lc", "li", "lk",
    "lr", "ls", "lt", "lu", "lv", "ly", "ma", "mc", "md", "mg", "mh", "mk", "ml", "mm", "mn", "mo", "mp", "mq",
    "mr", "ms", "mt", "mu", "mv", "mw", "mx", "my", "mz", "na", "nc", "ne", "nf", "ng", "ni", "nl", "no", "np",
    "nr", "nu", "nz", "om", "pa", "pe", "pf", "pg", "ph", "pk", "pl", "pm", "pn", "pr", "ps", "pt", "pw", "py",
    "qa", "re", "ro", "ru", "rw", "sa", "sb", "sc", "sd", "se", "sg", "sh", "si", "sj", "sk", "sl", "sm", "sn",
    "so", "sr", "st", "sv", "sy", "sz", "tc", "td", "tf", "tg", "th", "tj", "tk", "tm", "tn", "to", "tp", "tr",
    "tt", "tv", "tw", "tz", "ua", "ug", "uk", "um", "us", "uy", "uz", "va", "vc", "ve", "vg", "vi", "vn", "vu",
    "wf", "ws", "ye", "yt", "yu", "za", "zm", "zw",
};

bool IsAddressLetterOrDigit(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

char AddressCharLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool IsEmailDomainChar(char c)
{
    return IsAddressLetterOrDigit(c) || c == '-' || c == '.';
}

bool IsEmailLocalChar(char c)
{
    return IsAddressLetterOrDigit(c) || c == '-' || c == '.' || c == '_';
}

bool IsKnownTopLevelDomain(const char* text, size_t length)
{
    if (!text)
        return false;
    if (length == 0)
        length = std::strlen(text);
    if (length > 0 && *text == '.') {
        ++text;
        --length;
    }
    for (const char* entry : TopLevelDomainTable) {
        if (std::strlen(entry) != length)
            continue;
        size_t i = 0;
        while (i < length && AddressCharLower(text[i]) == entry[i])
            ++i;
        if (i == length)
            return true;
    }
    return false;
}

bool IsValidEmailAddress(const char* text, size_t length, int)
{
    if (!text)
        return false;
    if (length == 0)
        length = std::strlen(text);
    const char* end = text + length;
    const char* at = static_cast<const char*>(std::memchr(text, '@', length));
    // Nothing before the "@" is no address: the local part needs at least one character.
    if (!at || at == text)
        return false;
    for (const char* c = at + 1; c < end; ++c) {
        if (!IsEmailDomainChar(*c))
            return false;
    }
    const char* lastDot = end;
    for (const char* c = end; c > at + 1;) {
        if (*--c == '.') {
            lastDot = c;
            break;
        }
    }
    // Also refused: nothing after the last dot (a length of 0 would mean "up to the zero").
    if (lastDot == end || lastDot + 1 == end)
        return false;
    if (!IsKnownTopLevelDomain(lastDot + 1, static_cast<size_t>(end - lastDot - 1)))
        return false;
    for (const char* c = text; c < at; ++c) {
        if (!IsEmailLocalChar(*c))
            return false;
    }
    return true;
}
