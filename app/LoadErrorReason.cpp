// The imaging library's reasons for refusing a file, as the user reads them.
#include "LoadErrorReason.h"

#include "imaging/ImagingApi.h"

const char* LoadErrorReason(int result)
{
    switch (result) {
    case imaging::kErrorFileCorrupt:
        return "The file is damaged or incomplete.";
    case imaging::kErrorImageTooLarge:
        return "The image is too large for this program.";
    case imaging::kErrorNoMemory:
        return "There is not enough memory to load the image.";
    case imaging::kErrorFileFormat:
    case imaging::kErrorFilterIgnored:
        return "The file is not in a format this program reads.";
    case imaging::kErrorFileOpen:
        return "The file could not be opened: it may have been moved, deleted or locked.";
    case imaging::kErrorFileRead:
        return "The file could not be read from the disk.";
    default:
        return "The imaging library could not read it.";
    }
}
