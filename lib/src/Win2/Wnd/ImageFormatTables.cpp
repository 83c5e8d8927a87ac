// The format tables and their lookups. Group indexes are fixed: the workspace names its five
// savable types by index (2 JPEG, 39 TIFF, 20 GIF, 41 BMP, 31 PCX).
#include "lib/src/Win2/Wnd/ImageFormatTables.h"

const ImageFormatGroup ImageFormatGroupTable[kImageFormatGroupCount] = {
    {"CMP", "CMP", "*.cmp"},  // 0
    {"CMW", "CMW", "*.cmw"},  // 1
    {"JPG", "JPEG", "*.jpg;*.jpeg;*.jtf"},  // 2
    {"J2K", "JPEG 2000", "*.j2k;*.jp2"},  // 3
    {"CAL", "CALS", "*.cal"},  // 4
    {"PDF", "Adobe Acrobat", "*.pdf"},  // 5
    {"PNG", "Portable Network Graphics", "*.png"},  // 6
    {"DIC", "DICOM", "*.dic"},  // 7
    {"CUT", "CUT", "*.cut"},  // 8
    {"CLP", "Clipboard", "*.clp"},  // 9
    {"CGM", "CGM", "*.cgm"},  // 10
    {"DRW", "DRW", "*.drw"},  // 11
    {"DXF", "AutoCad", "*.dwg;*.dwf;*.dxf"},  // 12
    {"", "DGN", "*.dgn"},  // 13
    {"", "Encapsulated Postscript", "*.eps"},  // 14
    {"EXIF", "EXIF", "*.exf;*.tif;*.jpg"},  // 15
    {"", "FAX", "*.fax"},  // 16
    {"", "FLIC", "*.fli;*.flc"},  // 17
    {"", "FlashPix", "*.fpx"},  // 18
    {"", "GEM IMG", "*.img"},  // 19
    {"GIF", "CompuServe GIF", "*.gif"},  // 20
    {"", "HPGL", "*.plt;*.hgl"},  // 21
    {"", "IFF", "*.iff"},  // 22
    {"", "ITG", "*.itg;*.cit"},  // 23
    {"", "IOCA", "*.ica"},  // 24
    {"", "MODCA", "*.ica"},  // 25
    {"", "JBIG", "*.jbg;*.jbig"},  // 26
    {"", "Mac PICT", "*.pct;*.pict"},  // 27
    {"", "Mac Paint", "*.mac"},  // 28
    {"", "MS Fax", "*.awd"},  // 29
    {"", "MS Paint", "*.msp"},  // 30
    {"PCX", "PaintBrush", "*.pcx"},  // 31
    {"", "PBM", "*.pbm"},  // 32
    {"", "PGM", "*.pgm"},  // 33
    {"", "PPM", "*.ppm"},  // 34
    {"PSD", "Adobe Photoshop", "*.psd"},  // 35
    {"", "Sun Raster", "*.ras"},  // 36
    {"", "SGI", "*.sgi"},  // 37
    {"Targa", "Targa TGA", "*.tga"},  // 38
    {"TIFF", "Tag Image File Format", "*.tif;*.tiff"},  // 39
    {"", "OS/2 Bitmap", "*.bmp"},  // 40
    {"BMP", "Windows Bitmap", "*.bmp"},  // 41
    {"", "Windows Cursor", "*.cur"},  // 42
    {"", "Windows Icon", "*.ico"},  // 43
    {"", "Animated Cursor", "*.ani"},  // 44
    {"", "WinFax", "*.wfx"},  // 45
    {"WMF", "Windows Metafile", "*.wmf"},  // 46
    {"EMF", "Enhanced Metafile", "*.emf"},  // 47
    {"", "WordPerfect Graphic", "*.wpg"},  // 48
    {"", "X Bitmap", "*.xbm"},  // 49
    {"", "X Pixmap", "*.xpm"},  // 50
    {"", "X-Windows Bitmap", "*.xwd"},  // 51
    {"", "Gerber Vector", "*.gbr"},  // 52
    {"", "Wireless Bitmap", "*.wbmp"},  // 53
    {"", "MO:DCA PTOCA", "*.ptk"},  // 54
    {"", "Advanced Function Presentation", "*.afp"},  // 55
    {"", "Scitex Continuous Tone", "*.sct;*.ct"},  // 56
    {"", "Printer Command Language", "*.prn;*.prt;*.pcl"},  // 57
    {"", "Environmental Systems Research Institute", "*.shp"},  // 58
    {"", "LaserView", "*.lv"},  // 59
    {"", "Xionics SMP", "*.smp"},  // 60
    {"PCD", "Kodak PhotoCD", "*.pcd"},  // 61
    {"", "All Files", "*.*"},  // 62
};

const ImageFormatIdPair ImageFormatIdMap[kImageFormatIdCount] = {
    {31, 1}, {20, 2}, {39, 3}, {38, 4}, {0, 5}, {41, 6}, {-1, 7}, {-1, 9}, {2, 10}, {2, 11},
    {-1, 12}, {-1, 13}, {40, 14}, {46, 15}, {14, 16}, {39, 17}, {0, 20}, {2, 21}, {2, 22}, {2, 23},
    {2, 24}, {39, 25}, {-1, 26}, {-1, 27}, {-1, 28}, {-1, 29}, {0, 30}, {0, 31}, {4, 50}, {28, 51},
    {19, 52}, {-1, 53}, {48, 54}, {36, 55}, {27, 56}, {61, 57}, {12, 58}, {-1, 59}, {-1, 60}, {17, 61},
    {10, 62}, {14, 63}, {14, 64}, {0, 65}, {16, 66}, {16, 67}, {16, 68}, {45, 69}, {45, 70}, {24, 71},
    {24, 72}, {24, 73}, {40, 74}, {6, 75}, {35, 76}, {24, 77}, {24, 78}, {24, 79}, {18, 80}, {18, 81},
    {18, 82}, {18, 83}, {41, 84}, {39, 85}, {39, 86}, {39, 87}, {39, 88}, {7, 89}, {7, 90}, {43, 91},
    {42, 92}, {39, 93}, {39, 94}, {39, 95}, {15, 96}, {15, 97}, {15, 98}, {29, 99}, {-1, 100}, {15, 101},
    {32, 102}, {32, 103}, {33, 104}, {33, 105}, {34, 106}, {34, 107}, {8, 108}, {50, 109}, {49, 110}, {22, 111},
    {22, 112}, {51, 113}, {9, 114}, {26, 115}, {47, 116}, {54, 117}, {24, 118}, {44, 119}, {-1, 121}, {-1, 122},
    {-1, 123}, {12, 124}, {7, 125}, {7, 126}, {7, 127}, {7, 128}, {4, 129}, {4, 130}, {4, 131}, {51, 132},
    {51, 133}, {17, 134}, {-1, 135}, {11, 136}, {21, 137}, {39, 138}, {39, 139}, {39, 140}, {39, 141}, {37, 142},
    {37, 143}, {-1, 144}, {12, 145}, {-1, 146}, {-1, 147}, {-1, 148}, {-1, 149}, {-1, 150}, {-1, 151}, {-1, 152},
    {-1, 153}, {-1, 154}, {39, 155}, {-1, 156}, {-1, 157}, {-1, 158}, {-1, 159}, {-1, 160}, {-1, 161}, {-1, 162},
    {-1, 162}, {-1, 163}, {-1, 164}, {-1, 165}, {39, 166}, {39, 167}, {-1, 168}, {-1, 169}, {-1, 170}, {-1, 171},
    {-1, 172}, {-1, 173}, {-1, 200}, {-1, 201}, {-1, 202}, {-1, 203}, {-1, 204}, {-1, 205}, {-1, 206}, {-1, 207},
    {-1, 208}, {-1, 209}, {-1, 210}, {-1, 211}, {-1, 212}, {-1, 213}, {-1, 214}, {-1, 215}, {-1, 216}, {-1, 217},
    {-1, 218}, {-1, 219}, {-1, 220}, {-1, 221}, {-1, 222}, {-1, 223}, {-1, 224}, {-1, 225}, {-1, 226}, {-1, 227},
    {-1, 228}, {-1, 229}, {-1, 230}, {-1, 231}, {-1, 232}, {-1, 233}, {-1, 234}, {-1, 235}, {-1, 236}, {-1, 237},
    {-1, 238}, {-1, 239}, {-1, 240}, {-1, 241}, {-1, 242}, {-1, 243}, {-1, 244}, {-1, 245}, {-1, 246}, {-1, 247},
    {-1, 248}, {-1, 249}, {-1, 250}, {-1, 251}, {-1, 252}, {-1, 253}, {-1, 254}, {-1, 255}, {-1, 256}, {-1, 257},
    {-1, 258}, {-1, 259}, {-1, 260}, {-1, 261}, {-1, 262}, {-1, 263}, {-1, 264}, {-1, 265}, {-1, 266}, {-1, 267},
};

namespace {

const ImageFormatGroup* GroupAt(int group)
{
    if (group < 0 || group >= kImageFormatGroupCount)
        return nullptr;
    return &ImageFormatGroupTable[group];
}

}  // namespace

const char* FileFormatName(int group)
{
    const ImageFormatGroup* entry = GroupAt(group);
    return entry ? entry->name : nullptr;
}

const char* FileFormatDescription(int group)
{
    const ImageFormatGroup* entry = GroupAt(group);
    return entry ? entry->description : nullptr;
}

const char* FileFormatPattern(int group)
{
    const ImageFormatGroup* entry = GroupAt(group);
    return entry ? entry->pattern : nullptr;
}

int FileFormatGroupOf(unsigned id)
{
    for (const ImageFormatIdPair& pair : ImageFormatIdMap) {
        if (pair.id == id)
            return pair.group;
    }
    return -1;
}
