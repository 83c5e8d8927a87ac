// The filters the program has asked the library to ignore (L_IgnoreFilters).
#include "imaging/Codecs.h"

#include "imaging/ImagingApi.h"

#include <string>
#include <vector>

namespace imaging {
namespace {

// Upper-case names, as the program's list gives them; used from the UI thread only.
std::vector<std::string> g_ignoredFilters;

std::string Normalised(std::string name)
{
    const std::size_t first = name.find_first_not_of(" \t");
    const std::size_t last = name.find_last_not_of(" \t");
    name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
    for (char& c : name) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return name;
}

} // namespace

bool IsFilterIgnored(const char* filterName)
{
    for (const std::string& ignored : g_ignoredFilters) {
        if (ignored == filterName)
            return true;
    }
    return false;
}

} // namespace imaging

int L_IgnoreFilters(const char* filterList)
try {
    std::vector<std::string> names;
    if (filterList != nullptr) {
        std::string rest(filterList);
        std::size_t start = 0;
        while (start <= rest.size()) {
            const std::size_t comma = rest.find(',', start);
            const std::string name = imaging::Normalised(rest.substr(start, comma - start));
            if (!name.empty())
                names.push_back(name);
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
    }
    imaging::g_ignoredFilters.swap(names);
    return imaging::kSuccess;
} catch (const std::bad_alloc&) {
    return imaging::kErrorNoMemory;
}
