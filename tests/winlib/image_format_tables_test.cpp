// Format tables: lookups at the ends of the group range, identifiers with, without and with no
// group at all, and the shape of every pattern the file list and Save As dialog split.
#include "lib/src/Win2/Wnd/ImageFormatTables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(ImageFormatGroups, LookupsAnswerNullOutsideTheTable)
{
    struct Case { const char* why; int group; bool inside; };
    const Case kCases[] = {
        {"one below the first", -1, false},
        {"far below", -2147483647 - 1, false},
        {"first", 0, true},
        {"last", 62, true},
        {"one past the last", 63, false},
        {"far past", 1000, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.inside, FileFormatName(c.group) != nullptr);
        EXPECT_EQ(c.inside, FileFormatDescription(c.group) != nullptr);
        EXPECT_EQ(c.inside, FileFormatPattern(c.group) != nullptr);
    }
}

TEST(ImageFormatGroups, TextsOfTheGroupsTheProgramShows)
{
    struct Case { int group; const char* name; const char* description; const char* pattern; };
    const Case kCases[] = {
        {0, "CMP", "CMP", "*.cmp"},
        {2, "JPG", "JPEG", "*.jpg;*.jpeg;*.jtf"},
        {13, "", "DGN", "*.dgn"},  // empty short name, not null
        {15, "EXIF", "EXIF", "*.exf;*.tif;*.jpg"},
        {20, "GIF", "CompuServe GIF", "*.gif"},
        {31, "PCX", "PaintBrush", "*.pcx"},
        {38, "Targa", "Targa TGA", "*.tga"},
        {39, "TIFF", "Tag Image File Format", "*.tif;*.tiff"},
        {40, "", "OS/2 Bitmap", "*.bmp"},
        {41, "BMP", "Windows Bitmap", "*.bmp"},
        {58, "", "Environmental Systems Research Institute", "*.shp"},
        {61, "PCD", "Kodak PhotoCD", "*.pcd"},
        {62, "", "All Files", "*.*"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.group);
        EXPECT_STREQ(c.name, FileFormatName(c.group));
        EXPECT_STREQ(c.description, FileFormatDescription(c.group));
        EXPECT_STREQ(c.pattern, FileFormatPattern(c.group));
    }
}

// The file list gets each ";"-separated piece as a filter: a space or an empty piece would
// filter on nothing the user can see.
TEST(ImageFormatGroups, EveryPatternIsStarDotItemsJoinedBySemicolons)
{
    for (int group = 0; group < kImageFormatGroupCount; ++group) {
        SCOPED_TRACE(group);
        ASSERT_NE(nullptr, FileFormatName(group));
        ASSERT_NE(nullptr, FileFormatDescription(group));
        EXPECT_STRNE("", FileFormatDescription(group));
        std::string pattern = FileFormatPattern(group);
        size_t start = 0;
        for (;;) {
            size_t end = pattern.find(';', start);
            std::string item = pattern.substr(start, end == std::string::npos ? std::string::npos : end - start);
            EXPECT_GE(item.size(), 3u) << item;
            EXPECT_EQ(0u, item.find("*.")) << item;
            EXPECT_EQ(std::string::npos, item.find(' ')) << item;
            if (item != "*.*") {
                EXPECT_EQ(std::string::npos, item.find('*', 1)) << item;
            }
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
    }
}

TEST(ImageFormatIds, GroupOfIdentifiers)
{
    struct Case { const char* why; unsigned id; int group; };
    const Case kCases[] = {
        {"JPEG saves as 10", 10, 2},
        {"another JPEG kind", 11, 2},
        {"TIFF saves as 3", 3, 39},
        {"last TIFF kind", 167, 39},
        {"GIF saves as 2", 2, 20},
        {"BMP saves as 6", 6, 41},
        {"PCX saves as 1, the first pair", 1, 31},
        {"OS/2 bitmap, not Windows", 14, 40},
        {"PNG", 75, 6},
        {"CMP", 5, 0},
        {"last CMP kind", 65, 0},
        {"last of 50 to 119", 119, 44},
        {"first of 121 to 173 has no group", 121, -1},
        {"stored twice without group", 162, -1},
        {"last pair", 267, -1},
        {"absent: 0", 0, -1},
        {"absent: 8", 8, -1},
        {"absent: 18 and 19 gap", 19, -1},
        {"absent: 120", 120, -1},
        {"absent: 174 to 199 gap", 199, -1},
        {"absent: one past the last", 268, -1},
        {"absent: 300", 300, -1},
        {"absent: largest", 0xFFFFFFFFu, -1},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.group, FileFormatGroupOf(c.id));
    }
}

// The workspace shows FileFormatName(FileFormatGroupOf(id)): an identifier without group must
// give no name at all, so the display stays empty instead of showing a wrong format.
TEST(ImageFormatIds, NameOfAnIdentifierWithoutGroupIsNull)
{
    EXPECT_EQ(nullptr, FileFormatName(FileFormatGroupOf(7)));
    EXPECT_EQ(nullptr, FileFormatName(FileFormatGroupOf(8)));
    EXPECT_STREQ("", FileFormatName(FileFormatGroupOf(63)));  // group 14 has no short name
    EXPECT_STREQ("PNG", FileFormatName(FileFormatGroupOf(75)));
    EXPECT_STREQ("CMP", FileFormatName(FileFormatGroupOf(30)));
}

TEST(ImageFormatIds, MapIsAscendingWithOnlyTheKnownDuplicate)
{
    for (int i = 1; i < kImageFormatIdCount; ++i) {
        SCOPED_TRACE(i);
        const ImageFormatIdPair& before = ImageFormatIdMap[i - 1];
        const ImageFormatIdPair& pair = ImageFormatIdMap[i];
        if (pair.id == before.id)
            EXPECT_EQ(162u, pair.id);
        else
            EXPECT_LT(before.id, pair.id);
        EXPECT_GE(pair.group, -1);
        EXPECT_LT(pair.group, kImageFormatGroupCount);
    }
}

// Groups with no identifier are never reported for a file the library read.
TEST(ImageFormatIds, GroupsWithoutIdentifiersAreNeverAnswered)
{
    const std::set<int> kNoIdentifier = {1, 3, 5, 13, 23, 25, 30, 52, 53, 55, 56, 57, 58, 59, 60, 62};
    std::set<int> answered;
    for (unsigned id = 0; id < 400; ++id)
        answered.insert(FileFormatGroupOf(id));
    for (int group = 0; group < kImageFormatGroupCount; ++group) {
        SCOPED_TRACE(group);
        EXPECT_NE(kNoIdentifier.count(group) != 0, answered.count(group) != 0);
    }
}

}  // namespace
