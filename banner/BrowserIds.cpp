// The browser's ids, converted from their published text by a static initialiser.
#include "banner/BrowserIds.h"

#include "lib/src/MsgBox.h"

#include <objbase.h>

namespace BrowserIds {

bool Convert(const wchar_t* text, bool isClassId, GUID* id)
{
    *id = GUID{};
    // Both conversions read the text only; the cast is for their declared parameter type.
    auto* writable = const_cast<LPOLESTR>(text);
    const HRESULT hr = isClassId ? CLSIDFromString(writable, id) : IIDFromString(writable, id);
    if (SUCCEEDED(hr))
        return true;
    *id = GUID{};
    const char* conversion = isClassId ? "CLSIDFromString" : "IIDFromString";
    MsgBoxStop(0, conversion, nullptr, "%s %ld", conversion, static_cast<long>(hr));
    return false;
}

namespace {

GUID Converted(const wchar_t* text, bool isClassId)
{
    GUID id;
    Convert(text, isClassId, &id);
    return id;
}

} // namespace

CLSID WebBrowser = Converted(L"{8856F961-340A-11D0-A96B-00C04FD705A2}", true);
IID DocHostUIHandler = Converted(L"{BD3F23C0-D43E-11CF-893B-00AA00BDCE1A}", false);
IID HTMLDocument2 = Converted(L"{332C4425-26CB-11D0-B483-00C04FD90119}", false);
GUID DocHostCommandGroup = Converted(L"{F38BC242-B950-11D1-8918-00C04FC2C836}", false);

} // namespace BrowserIds
