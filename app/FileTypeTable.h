// The five file types the program writes, in the order it offers them: the format group
// of the image-format tables, the imaging library's format code and JPEG quality factor
// for saving, and what the type is offered for.
#pragma once

struct FileTypeRow {
    int fileType;      // format group (ImageFormatTables.h)
    int imagingFormat; // code passed to the library's save
    int quality;       // quality factor passed to the library's save
    unsigned flags;    // kFileTypeListed | kFileTypeSaveAs
};

// Shown in the options sheet's list of file types.
constexpr unsigned kFileTypeListed = 1;
// Offered by Save As.
constexpr unsigned kFileTypeSaveAs = 2;

constexpr int kFileTypeCount = 5;
// JPEG, TIFF, CompuServe GIF, Windows Bitmap, PaintBrush.
extern const FileTypeRow FileTypeTable[kFileTypeCount];
