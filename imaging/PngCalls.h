// libpng's calls, made from C: libpng ends a failed call with a longjmp to a return
// point, so each function here sets its own, and that jump never crosses a C++ frame.
// Every function answers a PngStatus; after a failure only the Destroy call is left.
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

enum PngStatus { kPngOk = 0, kPngCorrupt, kPngNoMemory };

// Rows as decoded: 8-bit grey, palette indices (one byte each), or blue, green, red.
enum PngOutput { kPngOutputGrey, kPngOutputIndices, kPngOutputBgr };

struct PngHeader {
    unsigned width;
    unsigned height;
    int bitDepth;
    int colourType;  // 0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA
    int samplesPerPixel;
    int hasPixelsPerMetre;
    unsigned xPixelsPerMetre;
    unsigned yPixelsPerMetre;
    int paletteSize;
    unsigned char palette[256][3];  // red, green, blue
};

typedef struct PngReader PngReader;

// Reads from `size` bytes, which must outlive the reader; null when out of memory.
PngReader* PngReaderCreate(const unsigned char* data, size_t size);
void PngReaderDestroy(PngReader* reader);
int PngReadHeader(PngReader* reader, struct PngHeader* header);
// Sets the rows' form up; `passes` is 7 for an interlaced file, whose every pass goes over all rows.
int PngStartDecoding(PngReader* reader, enum PngOutput output, int* passes);
int PngReadRows(PngReader* reader, unsigned char** rows, int count);
// Reads the rest of the file to its end chunk, so that damage after the last row is seen too.
int PngFinishDecoding(PngReader* reader);

#ifdef __cplusplus
}
#endif
