// libjpeg's calls behind JpegCalls.h. A failure of libjpeg ends in JpegExitWithStatus,
// which jumps back to the return point of the function here that made the call; so
// does any warning about the coded data, so that damage is never decoded as far as
// it goes.
#include "imaging/JpegCalls.h"

#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>

#include <jerror.h>
#include <jpeglib.h>

struct JpegFailure {
    struct jpeg_error_mgr manager;
    jmp_buf returnPoint;
    int status;
};

struct JpegReader {
    struct jpeg_decompress_struct info;
    struct JpegFailure failure;
    int isCreated;
};

struct JpegWriter {
    struct jpeg_compress_struct info;
    struct JpegFailure failure;
    int isCreated;
    unsigned char* coded;  // malloc'd by libjpeg's memory destination
    unsigned long codedSize;
};

static int JpegStatusOfError(int code)
{
    switch (code) {
    case JERR_OUT_OF_MEMORY:
        return kJpegNoMemory;
    case JERR_NO_BACKING_STORE:
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
        return kJpegTooLarge;
    case JERR_BAD_PRECISION:
    case JERR_NOT_COMPILED:
    case JERR_ARITH_NOTIMPL:
    case JERR_CONVERSION_NOTIMPL:
        return kJpegUnsupported;
    default:
        return kJpegCorrupt;
    }
}

// Warnings about the file's metadata leave its pixels sound; every other warning
// (extraneous bytes before a marker, premature end, a bad Huffman code, a lost restart
// marker, ...) is about the coded data.
static int IsJpegMetadataWarning(int code)
{
    return code == JWRN_ADOBE_XFORM || code == JWRN_JFIF_MAJOR || code == JWRN_BOGUS_ICC;
}

static void JpegExitWithStatus(j_common_ptr info)
{
    struct JpegFailure* failure = (struct JpegFailure*)info->err;
    failure->status = JpegStatusOfError(info->err->msg_code);
    longjmp(failure->returnPoint, 1);
}

// Trace messages (level 0 and up) are passed over; nothing is ever printed.
static void JpegEmitMessage(j_common_ptr info, int level)
{
    struct JpegFailure* failure = (struct JpegFailure*)info->err;
    if (level >= 0)
        return;
    info->err->num_warnings++;
    if (IsJpegMetadataWarning(info->err->msg_code))
        return;
    failure->status = kJpegCorrupt;
    longjmp(failure->returnPoint, 1);
}

static void JpegOutputNothing(j_common_ptr info)
{
    (void)info;
}

static void PrepareJpegFailure(struct JpegFailure* failure)
{
    jpeg_std_error(&failure->manager);
    failure->manager.error_exit = JpegExitWithStatus;
    failure->manager.emit_message = JpegEmitMessage;
    failure->manager.output_message = JpegOutputNothing;
    failure->status = kJpegOk;
}

static int CreateDecompressor(JpegReader* reader)
{
    if (setjmp(reader->failure.returnPoint))
        return 0;
    jpeg_create_decompress(&reader->info);
    return 1;
}

JpegReader* JpegReaderCreate(void)
{
    JpegReader* reader = (JpegReader*)calloc(1, sizeof(JpegReader));
    if (reader == NULL)
        return NULL;
    PrepareJpegFailure(&reader->failure);
    reader->info.err = &reader->failure.manager;
    if (!CreateDecompressor(reader)) {
        free(reader);
        return NULL;
    }
    reader->isCreated = 1;
    return reader;
}

void JpegReaderDestroy(JpegReader* reader)
{
    if (reader == NULL)
        return;
    if (reader->isCreated)
        jpeg_destroy_decompress(&reader->info);
    free(reader);
}

int JpegReadHeader(JpegReader* reader, const unsigned char* data, size_t size, long maxMemoryBytes,
                   struct JpegHeader* header)
{
    struct jpeg_decompress_struct* info = &reader->info;
    if (setjmp(reader->failure.returnPoint))
        return reader->failure.status;
    info->mem->max_memory_to_use = maxMemoryBytes;
    jpeg_mem_src(info, data, (unsigned long)size);
    jpeg_read_header(info, TRUE);
    header->width = (int)info->image_width;
    header->height = (int)info->image_height;
    header->components = info->num_components;
    header->densityUnit = info->saw_JFIF_marker ? info->density_unit : 0;
    header->xDensity = info->X_density;
    header->yDensity = info->Y_density;
    header->isInvertedCmyk = info->saw_Adobe_marker;
    return kJpegOk;
}

int JpegStartDecoding(JpegReader* reader, enum JpegOutput output)
{
    struct jpeg_decompress_struct* info = &reader->info;
    if (setjmp(reader->failure.returnPoint))
        return reader->failure.status;
    info->out_color_space = output == kJpegOutputGrey ? JCS_GRAYSCALE : output == kJpegOutputBgr ? JCS_EXT_BGR : JCS_CMYK;
    jpeg_start_decompress(info);
    return kJpegOk;
}

static int ReadScanlines(struct jpeg_decompress_struct* info, unsigned char** rows, int count)
{
    int done = 0;
    while (done < count) {
        const JDIMENSION read = jpeg_read_scanlines(info, rows + done, (JDIMENSION)(count - done));
        if (read == 0)
            return kJpegCorrupt;
        done += (int)read;
    }
    return kJpegOk;
}

int JpegReadRows(JpegReader* reader, unsigned char** rows, int count)
{
    if (setjmp(reader->failure.returnPoint))
        return reader->failure.status;
    return ReadScanlines(&reader->info, rows, count);
}

int JpegFinishDecoding(JpegReader* reader)
{
    if (setjmp(reader->failure.returnPoint))
        return reader->failure.status;
    jpeg_finish_decompress(&reader->info);
    return kJpegOk;
}

static int CreateCompressor(JpegWriter* writer)
{
    if (setjmp(writer->failure.returnPoint))
        return 0;
    jpeg_create_compress(&writer->info);
    return 1;
}

JpegWriter* JpegWriterCreate(void)
{
    JpegWriter* writer = (JpegWriter*)calloc(1, sizeof(JpegWriter));
    if (writer == NULL)
        return NULL;
    PrepareJpegFailure(&writer->failure);
    writer->info.err = &writer->failure.manager;
    if (!CreateCompressor(writer)) {
        free(writer);
        return NULL;
    }
    writer->isCreated = 1;
    return writer;
}

void JpegWriterDestroy(JpegWriter* writer)
{
    if (writer == NULL)
        return;
    if (writer->isCreated)
        jpeg_destroy_compress(&writer->info);
    free(writer->coded);
    free(writer);
}

static UINT16 JpegDensityOf(int ppi)
{
    return (UINT16)(ppi < 1 ? 1 : ppi > 65535 ? 65535 : ppi);
}

int JpegStartEncoding(JpegWriter* writer, const struct JpegSettings* settings)
{
    struct jpeg_compress_struct* info = &writer->info;
    if (setjmp(writer->failure.returnPoint))
        return writer->failure.status;
    jpeg_mem_dest(info, &writer->coded, &writer->codedSize);
    info->image_width = (JDIMENSION)settings->width;
    info->image_height = (JDIMENSION)settings->height;
    info->input_components = settings->isGrey ? 1 : 3;
    info->in_color_space = settings->isGrey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(info);
    if (settings->quality > 0)
        jpeg_set_quality(info, settings->quality, TRUE);
    if (settings->isFullChroma && !settings->isGrey) {
        info->comp_info[0].h_samp_factor = 1;
        info->comp_info[0].v_samp_factor = 1;
    }
    info->write_JFIF_header = TRUE;
    info->density_unit = 1;
    info->X_density = JpegDensityOf(settings->xDensityPpi);
    info->Y_density = JpegDensityOf(settings->yDensityPpi);
    jpeg_start_compress(info, TRUE);
    return kJpegOk;
}

static void WriteScanlines(struct jpeg_compress_struct* info, unsigned char** rows, int count)
{
    int done = 0;
    while (done < count)
        done += (int)jpeg_write_scanlines(info, rows + done, (JDIMENSION)(count - done));
}

int JpegWriteRows(JpegWriter* writer, unsigned char** rows, int count)
{
    if (setjmp(writer->failure.returnPoint))
        return writer->failure.status;
    WriteScanlines(&writer->info, rows, count);
    return kJpegOk;
}

int JpegFinishEncoding(JpegWriter* writer, const unsigned char** data, size_t* size)
{
    if (setjmp(writer->failure.returnPoint))
        return writer->failure.status;
    jpeg_finish_compress(&writer->info);
    *data = writer->coded;
    *size = writer->codedSize;
    return kJpegOk;
}
