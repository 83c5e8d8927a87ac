// The file list's Size and Modified texts.
#include "lib/src/Win2/Wnd/iShell.h"

#include "lib/src/DateTime.h"
#include "lib/src/iRevolveString.h"

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

constexpr LCID kUserLocale = LOCALE_USER_DEFAULT;
constexpr unsigned long long kBytesPerKB = 1000;

// A size text as the list writes it: 64-bit decimal. A negative text that fits 32 bits
// is a 2 to 4 GB size written as a signed 32-bit number, read back unsigned.
unsigned long long ReadSizeText(LPCSTR text)
{
    if (!text)
        return 0;
    const long long value = _strtoi64(text, nullptr, 10);
    if (value >= 0)
        return static_cast<unsigned long long>(value);
    if (value >= INT32_MIN)
        return static_cast<UINT32>(static_cast<INT32>(value));
    return 0;
}

// One locale format call pair: the length, then the text into a scratch buffer of the
// calling thread's ring. Empty when the call fails.
template <class FormatCall>
CString FormatIntoScratch(FormatCall format)
{
    const int length = format(nullptr, 0);
    if (length <= 0)
        return CString();
    char* buffer = g_RevolveString->Alloc(static_cast<unsigned>(length));
    if (format(buffer, length) <= 0)
        return CString();
    return buffer;
}

// The user's short date, one space and the time without seconds; empty when either fails.
CString LocalDateTimeText(const SYSTEMTIME& local)
{
    const iString datePicture = GetLocaleText(kUserLocale, LOCALE_SSHORTDATE);
    const iString timePicture = GetLocaleText(kUserLocale, LOCALE_STIMEFORMAT);
    LPCSTR dateFormat = datePicture.IsEmpty() ? nullptr : static_cast<LPCSTR>(datePicture);
    LPCSTR timeFormat = timePicture.IsEmpty() ? nullptr : static_cast<LPCSTR>(timePicture);
    const CString date = FormatIntoScratch(
        [&](LPSTR out, int size) { return ::GetDateFormatA(kUserLocale, 0, &local, dateFormat, out, size); });
    const CString time = FormatIntoScratch([&](LPSTR out, int size) {
        return ::GetTimeFormatA(kUserLocale, TIME_NOSECONDS, &local, timeFormat, out, size);
    });
    if (date.IsEmpty() || time.IsEmpty())
        return CString();
    return date + " " + time;
}

} // namespace

// Sizes are kept to 64 bits; the rules are the list's: divisor 1000, truncated, and
// anything from 1 to 1999 bytes shows as 1KB.
CString iShell::FileSizeText(LPCSTR sizeText)
{
    const unsigned long long bytes = ReadSizeText(sizeText);
    if (bytes == 0)
        return "0KB";
    const unsigned long long kilobytes = bytes / kBytesPerKB;
    if (kilobytes == 0)
        return "1KB";
    return (std::to_string(kilobytes) + "KB").c_str();
}

CString iShell::FileDateText(const CTime* time)
{
    if (!time)
        return CString();
    struct tm local;
    if (!time->GetLocalTm(&local))
        return CString();
    const SYSTEMTIME* system = SystemTimeFromTimeT(time->GetTime());
    return LocalDateTimeText(*system);
}

// From the file time itself: a time_t cannot hold dates before 1970, and a file may carry them.
CString iShell::FileTimeText(const FILETIME* fileTime)
{
    if (!fileTime)
        return CString();
    FILETIME local;
    SYSTEMTIME system;
    if (!::FileTimeToLocalFileTime(fileTime, &local) || !::FileTimeToSystemTime(&local, &system))
        return CString();
    return LocalDateTimeText(system);
}
