// The raster file formats of the imaging library: 63 format groups (short name, description,
// extension pattern) and the map from the library's file-format identifiers to those groups.
// Pure constant tables: nothing here needs a window.
#pragma once

// One format group. A short name may be the empty text: the group then has none to show.
struct ImageFormatGroup {
    const char* name;
    const char* description;
    const char* pattern;  // one or more "*.ext" joined by ";" without spaces
};

// One imaging-library file-format identifier and its group (-1: none).
struct ImageFormatIdPair {
    int group;
    unsigned id;
};

constexpr int kImageFormatGroupCount = 63;
constexpr int kImageFormatIdCount = 220;

extern const ImageFormatGroup ImageFormatGroupTable[kImageFormatGroupCount];
// Ascending by identifier; 162 appears twice, both times without group.
extern const ImageFormatIdPair ImageFormatIdMap[kImageFormatIdCount];

// The group's texts; null when the index lies outside 0 to 62. Constants: never changed or freed.
const char* FileFormatName(int group);
const char* FileFormatDescription(int group);
const char* FileFormatPattern(int group);

// The group of the first pair with that identifier; -1 when absent or present without group.
int FileFormatGroupOf(unsigned id);
