// Reads the banner server's description "info.xml" into the banner settings. The four
// elements "Page", "Duration", "Promotion" and "Refresh" may stand anywhere in the
// document, each with its value in a first attribute named "value"; the last occurrence
// wins, and a setting the document leaves out keeps its default.
#pragma once

#include "banner/BannerSettings.h"

#include "lib/src/iXML.h"

class InfoXML : public iXML {
public:
    InfoXML();
    ~InfoXML() override;

    void StartElement(const char* name, const char** attributes) override;
    void EndElement(const char* name) override;

    // Filled as the document is read: what the elements read so far said, the defaults
    // for the rest (also after a parse that stopped at an error).
    BannerSettings m_settings;
};

// A decimal number as the description writes it: leading white space and a sign allowed,
// reading stops at the first character that is not a digit, no digits give 0. Numbers
// beyond the 32-bit range give its nearest end.
int32_t ReadDescriptionNumber(const char* text);
