// L_SizeBitmap and L_SharpenBitmap: the pixel kernels write a new bitmap, which takes
// the old one's place only when they finish, so a cancelled or failed operation leaves
// the caller's bitmap as it was. Both work on the rows as stored: resampling and
// sharpening come out the same for a bitmap stored bottom-up.
#include "imaging/BitmapStorage.h"
#include "imaging/StatusProgress.h"

#include <new>

namespace imaging {
namespace {

[[nodiscard]] bool MethodFor(int flags, ResampleMethod& method)
{
    switch (flags) {
    case kSizeNearest: method = ResampleMethod::Nearest; return true;
    case kSizeBilinear: method = ResampleMethod::Bilinear; return true;
    case kSizeBicubic: method = ResampleMethod::Bicubic; return true;
    default: return false;
    }
}

[[nodiscard]] int AllocateLike(const BitmapHandle& model, int width, int height, OwnedBitmap& target)
{
    const int result = target.Allocate(width, height, model.bitsPerPixel, model.viewPerspective);
    if (result != kSuccess)
        return result;
    target.get().xResolution = model.xResolution;
    target.get().yResolution = model.yResolution;
    return kSuccess;
}

// A kernel answers false when cancelled, and also for buffers it cannot use, which the
// checked records here never are.
int KernelFailure(const ProgressReporter& progress)
{
    return progress.IsCancelled() ? kErrorCancelled : kErrorInvalidParameter;
}

void TakeOver(BitmapHandle& bitmap, OwnedBitmap& replacement)
{
    ReleaseBitmap(bitmap);
    bitmap = replacement.Release();
}

} // namespace
} // namespace imaging

int L_SizeBitmap(imaging::BitmapHandle* bitmap, int width, int height, int flags)
try {
    using namespace imaging;
    int result = CheckBitmap(bitmap);
    if (result != kSuccess)
        return result;
    ResampleMethod method;
    if (!MethodFor(flags, method))
        return kErrorInvalidParameter;
    OwnedBitmap resized;
    result = AllocateLike(*bitmap, width, height, resized);
    if (result != kSuccess)
        return result;

    ProgressReporter progress;
    if (!progress.Start())
        return kErrorCancelled;
    if (!Resample(StoredView(*bitmap), StoredView(resized.get()), method, progress.Span(0, 100)))
        return KernelFailure(progress);
    TakeOver(*bitmap, resized);
    progress.Finish();
    return kSuccess;
} catch (const std::bad_alloc&) {
    return imaging::kErrorNoMemory;
}

int L_SharpenBitmap(imaging::BitmapHandle* bitmap, int amount)
try {
    using namespace imaging;
    int result = CheckBitmap(bitmap);
    if (result != kSuccess)
        return result;
    if (amount < kSharpenMin || amount > kSharpenMax)
        return kErrorInvalidParameter;

    ProgressReporter progress;
    if (amount == 0) {
        // Nothing changes, but the operation still counts as one pass for the status bar.
        return progress.Start() ? kSuccess : kErrorCancelled;
    }
    OwnedBitmap sharpened;
    result = AllocateLike(*bitmap, bitmap->width, bitmap->height, sharpened);
    if (result != kSuccess)
        return result;
    if (!progress.Start())
        return kErrorCancelled;
    if (!Sharpen(StoredView(*bitmap), StoredView(sharpened.get()), amount, progress.Span(0, 100)))
        return KernelFailure(progress);
    TakeOver(*bitmap, sharpened);
    progress.Finish();
    return kSuccess;
} catch (const std::bad_alloc&) {
    return imaging::kErrorNoMemory;
}
