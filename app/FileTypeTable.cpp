// The file types the program writes.
#include "FileTypeTable.h"

#include "imaging/ImagingApi.h"

const FileTypeRow FileTypeTable[kFileTypeCount] = {
    {2, imaging::kFormatJpeg, 2, kFileTypeListed | kFileTypeSaveAs},
    {39, imaging::kFormatTif, 0, kFileTypeListed | kFileTypeSaveAs},
    {20, imaging::kFormatGif, 0, kFileTypeListed | kFileTypeSaveAs},
    {41, imaging::kFormatBmp, 0, kFileTypeListed | kFileTypeSaveAs},
    {31, imaging::kFormatPcx, 0, kFileTypeListed | kFileTypeSaveAs},
};
