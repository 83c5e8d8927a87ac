// The banner's four settings, as the server's description "info.xml" gives them.
#pragma once

#include <cstdint>

struct BannerSettings {
    int32_t page = 35;          // number of banner pages; pages are numbered 0 to page - 1
    int32_t duration = 60000;   // milliseconds one banner stays before the next is chosen
    int32_t promotion = 0;      // the page shown every second time; -1 for none
    // Milliseconds between two reloads of the description, and also the largest age in
    // seconds of a cached page that is shown without fetching it again.
    int32_t refresh = 360000;
};
