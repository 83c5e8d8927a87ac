/* The libvips side of the imaging bench's side-by-side: times vips_resize (cubic kernel)
 * inside one process, with the source already in memory and the result written to
 * memory, so that neither process start-up nor file I/O is counted. Built natively on
 * Linux against Debian's libvips-dev (never part of the Windows build):
 *   gcc -O2 bench/vips_resize_timing.c $(pkg-config --cflags --libs vips) -o vips_resize_timing
 *   ./vips_resize_timing in.v 2 7       (VIPS_CONCURRENCY=1 for one thread)
 * Prints the median of the runs, into a reused output buffer (warm) and into a freshly
 * allocated one (fresh). */
#include <vips/vips.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int CompareDoubles(const void* a, const void* b)
{
    double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y;
}

static double Median(double* values, int count)
{
    qsort(values, (size_t)count, sizeof values[0], CompareDoubles);
    return values[count / 2];
}

/* One resize written into `target` (a buffer of the result's size) or, when null, into a
 * new memory image; returns milliseconds, or -1 on failure. */
static double TimeResize(VipsImage* source, double scale, void* target, size_t targetSize)
{
    GTimer* timer = g_timer_new();
    VipsImage* resized = NULL;
    VipsImage* out = NULL;
    double ms = -1;
    if (vips_resize(source, &resized, scale, "kernel", VIPS_KERNEL_CUBIC, NULL) == 0) {
        if (target)
            out = vips_image_new_from_memory(target, targetSize, resized->Xsize, resized->Ysize, resized->Bands,
                                             resized->BandFmt);
        else
            out = vips_image_new_memory();
        if (out && vips_image_write(resized, out) == 0)
            ms = g_timer_elapsed(timer, NULL) * 1000.0;
    }
    if (out)
        g_object_unref(out);
    if (resized)
        g_object_unref(resized);
    g_timer_destroy(timer);
    return ms;
}

int main(int argc, char** argv)
{
    if (VIPS_INIT(argv[0]))
        vips_error_exit(NULL);
    if (argc != 4) {
        fprintf(stderr, "usage: %s source.v scale runs\n", argv[0]);
        return 2;
    }
    double scale = atof(argv[2]);
    int runs = atoi(argv[3]);
    if (runs < 1 || runs > 100 || scale <= 0)
        return 2;
    VipsImage* file = vips_image_new_from_file(argv[1], NULL);
    if (!file)
        vips_error_exit(NULL);
    VipsImage* source = vips_image_copy_memory(file);
    if (!source)
        vips_error_exit(NULL);

    VipsImage* probe = NULL;
    if (vips_resize(source, &probe, scale, "kernel", VIPS_KERNEL_CUBIC, NULL))
        vips_error_exit(NULL);
    size_t targetSize = VIPS_IMAGE_SIZEOF_IMAGE(probe);
    printf("vips %s: %dx%d to %dx%d, concurrency %d\n", vips_version_string(), source->Xsize, source->Ysize,
           probe->Xsize, probe->Ysize, vips_concurrency_get());
    g_object_unref(probe);

    void* target = malloc(targetSize);
    memset(target, 0, targetSize);
    double* warm = malloc(sizeof(double) * (size_t)runs);
    double* fresh = malloc(sizeof(double) * (size_t)runs);
    TimeResize(source, scale, target, targetSize);
    for (int i = 0; i < runs; ++i)
        warm[i] = TimeResize(source, scale, target, targetSize);
    for (int i = 0; i < runs; ++i)
        fresh[i] = TimeResize(source, scale, NULL, 0);
    printf("warm %.1f ms, fresh %.1f ms (median of %d)\n", Median(warm, runs), Median(fresh, runs), runs);
    free(warm);
    free(fresh);
    free(target);
    g_object_unref(source);
    g_object_unref(file);
    vips_shutdown();
    return 0;
}
