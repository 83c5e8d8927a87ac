// Navigation of a browser window to a local page.
#include "banner/NavigateToPath.h"

#include "banner/WebBrowser2.h"

namespace {

// A text variant of the path, freed with the object.
struct PathVariant {
    VARIANT value;
    explicit PathVariant(const char* path)
    {
        VariantInit(&value);
        value.vt = VT_BSTR;
        value.bstrVal = nullptr;
        const int wide = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
        if (wide > 0) {
            value.bstrVal = SysAllocStringLen(nullptr, static_cast<UINT>(wide - 1));
            if (value.bstrVal)
                MultiByteToWideChar(CP_ACP, 0, path, -1, value.bstrVal, wide);
        }
    }
    ~PathVariant() { VariantClear(&value); }
    PathVariant(const PathVariant&) = delete;
    PathVariant& operator=(const PathVariant&) = delete;
};

} // namespace

bool NavigateToPath(CWebBrowser2& browser, const char* path)
{
    if (!browser.GetControlUnknown() || !path)
        return false;
    PathVariant url(path);
    try {
        browser.Navigate2(&url.value, nullptr, nullptr, nullptr, nullptr);
    } catch (CException* e) {
        e->Delete();
        return false;
    }
    return true;
}
