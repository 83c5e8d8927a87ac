// libpng's calls behind PngCalls.h. A failure of libpng ends in PngExitWithStatus, which
// jumps back to the return point of the function here that made the call. Warnings
// (damaged ancillary chunks, odd colour profiles) cost no pixel and are passed over.
#include "imaging/PngCalls.h"

#include <png.h>

#include <setjmp.h>
#include <stdlib.h>
#include <string.h>

struct PngReader {
    png_structp png;
    png_infop info;
    jmp_buf returnPoint;
    int status;
    const unsigned char* data;
    size_t size;
    size_t position;
};

static void PngExitWithStatus(png_structp png, png_const_charp message)
{
    struct PngReader* reader = (struct PngReader*)png_get_error_ptr(png);
    reader->status = message != NULL && strstr(message, "memory") != NULL ? kPngNoMemory : kPngCorrupt;
    longjmp(reader->returnPoint, 1);
}

static void PngIgnoreWarning(png_structp png, png_const_charp message)
{
    (void)png;
    (void)message;
}

static void ReadPngFromMemory(png_structp png, png_bytep buffer, size_t count)
{
    struct PngReader* reader = (struct PngReader*)png_get_io_ptr(png);
    if (count > reader->size - reader->position)
        png_error(png, "unexpected end of file");
    memcpy(buffer, reader->data + reader->position, count);
    reader->position += count;
}

static int PrepareReader(PngReader* reader)
{
    if (setjmp(reader->returnPoint))
        return 0;
    reader->info = png_create_info_struct(reader->png);
    if (reader->info == NULL)
        return 0;
    png_set_read_fn(reader->png, reader, ReadPngFromMemory);
    // The caller checks the size against its own limits, which libpng's default ones would pre-empt.
    png_set_user_limits(reader->png, 0x7FFFFFFF, 0x7FFFFFFF);
    return 1;
}

PngReader* PngReaderCreate(const unsigned char* data, size_t size)
{
    PngReader* reader = (PngReader*)calloc(1, sizeof(PngReader));
    if (reader == NULL)
        return NULL;
    reader->data = data;
    reader->size = size;
    reader->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, reader, PngExitWithStatus, PngIgnoreWarning);
    if (reader->png == NULL) {
        free(reader);
        return NULL;
    }
    if (!PrepareReader(reader)) {
        PngReaderDestroy(reader);
        return NULL;
    }
    return reader;
}

void PngReaderDestroy(PngReader* reader)
{
    if (reader == NULL)
        return;
    png_destroy_read_struct(&reader->png, reader->info != NULL ? &reader->info : NULL, NULL);
    free(reader);
}

int PngReadHeader(PngReader* reader, struct PngHeader* header)
{
    png_structp png = reader->png;
    png_infop info = reader->info;
    png_uint_32 xPerUnit = 0, yPerUnit = 0;
    int unit = 0;
    png_colorp palette = NULL;
    int paletteSize = 0;
    if (setjmp(reader->returnPoint))
        return reader->status;
    png_read_info(png, info);
    header->width = png_get_image_width(png, info);
    header->height = png_get_image_height(png, info);
    header->bitDepth = png_get_bit_depth(png, info);
    header->colourType = png_get_color_type(png, info);
    header->samplesPerPixel = png_get_channels(png, info);
    header->hasPixelsPerMetre = png_get_pHYs(png, info, &xPerUnit, &yPerUnit, &unit) != 0 && unit == PNG_RESOLUTION_METER;
    header->xPixelsPerMetre = xPerUnit;
    header->yPixelsPerMetre = yPerUnit;
    header->paletteSize = 0;
    if (png_get_PLTE(png, info, &palette, &paletteSize) != 0) {
        int i;
        header->paletteSize = paletteSize > 256 ? 256 : paletteSize;
        for (i = 0; i < header->paletteSize; ++i) {
            header->palette[i][0] = palette[i].red;
            header->palette[i][1] = palette[i].green;
            header->palette[i][2] = palette[i].blue;
        }
    }
    return kPngOk;
}

int PngStartDecoding(PngReader* reader, enum PngOutput output, int* passes)
{
    png_structp png = reader->png;
    png_infop info = reader->info;
    if (setjmp(reader->returnPoint))
        return reader->status;
    const int colourType = png_get_color_type(png, info);
    if (output == kPngOutputIndices) {
        png_set_packing(png);
    } else {
        png_set_palette_to_rgb(png);
        png_set_expand_gray_1_2_4_to_8(png);
        png_set_strip_16(png);
        png_set_strip_alpha(png);
        if (output == kPngOutputBgr) {
            if (!(colourType & PNG_COLOR_MASK_COLOR))
                png_set_gray_to_rgb(png);
            png_set_bgr(png);
        }
    }
    *passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return kPngOk;
}

int PngReadRows(PngReader* reader, unsigned char** rows, int count)
{
    if (setjmp(reader->returnPoint))
        return reader->status;
    png_read_rows(reader->png, rows, NULL, (png_uint_32)count);
    return kPngOk;
}

int PngFinishDecoding(PngReader* reader)
{
    if (setjmp(reader->returnPoint))
        return reader->status;
    png_read_end(reader->png, NULL);
    return kPngOk;
}
