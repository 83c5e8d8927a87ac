// libjpeg's calls, made from C: libjpeg ends a failed call with a longjmp to a return
// point, so each function here sets its own, and that jump never crosses a C++ frame.
// Every function answers a JpegStatus; after a failure only the Destroy call is left.
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

enum JpegStatus {
    kJpegOk = 0,
    kJpegCorrupt,      // damaged coded data, or any warning about it
    kJpegUnsupported,  // a variant libjpeg does not read (12-bit samples, ...)
    kJpegNoMemory,
    kJpegTooLarge,     // the decoder would need more than its memory limit
};

enum JpegOutput { kJpegOutputGrey, kJpegOutputBgr, kJpegOutputCmyk };

// What a file's headers say.
struct JpegHeader {
    int width;
    int height;
    int components;
    int densityUnit;  // 0 aspect ratio only, 1 per inch, 2 per centimetre
    int xDensity;
    int yDensity;
    int isInvertedCmyk;  // Adobe's CMYK, stored with 255 meaning no ink
};

typedef struct JpegReader JpegReader;

// Null when out of memory.
JpegReader* JpegReaderCreate(void);
void JpegReaderDestroy(JpegReader* reader);
// Reads the headers of `size` bytes, which must outlive the reader. maxMemoryBytes caps
// what the decoder may hold besides the rows it is given (a progressive file's coefficients).
int JpegReadHeader(JpegReader* reader, const unsigned char* data, size_t size, long maxMemoryBytes,
                   struct JpegHeader* header);
int JpegStartDecoding(JpegReader* reader, enum JpegOutput output);
// Decodes the next `count` rows into rows[0..count-1].
int JpegReadRows(JpegReader* reader, unsigned char** rows, int count);
// Reads to the end of the data, so that damage after the last row is seen too.
int JpegFinishDecoding(JpegReader* reader);

typedef struct JpegWriter JpegWriter;

// What the encoder is asked for. quality 0 keeps the encoder's default tables.
struct JpegSettings {
    int width;
    int height;
    int isGrey;         // rows of one grey byte a pixel; else blue, green, red
    int quality;        // 0, or 1..100
    int isFullChroma;   // colour kept at every pixel (no subsampling)
    int xDensityPpi;
    int yDensityPpi;
};

JpegWriter* JpegWriterCreate(void);
void JpegWriterDestroy(JpegWriter* writer);
int JpegStartEncoding(JpegWriter* writer, const struct JpegSettings* settings);
int JpegWriteRows(JpegWriter* writer, unsigned char** rows, int count);
// The coded file, held by the writer until it is destroyed.
int JpegFinishEncoding(JpegWriter* writer, const unsigned char** data, size_t* size);

#ifdef __cplusplus
}
#endif
