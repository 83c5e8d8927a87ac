// Precomputed resampling weights for one axis: for every output position the first
// source index and a fixed run of fixed-point weights. Computed once per resize, so the
// row loops only multiply and add.
// Invariants: (1) first[i] + taps <= source length; (2) the weights of each output sum to
// exactly kWeightOne, so a constant image stays constant; (3) weights past `taps` up to
// `tapStride` are zero, so SIMD loops may read whole groups of four.
#pragma once

#include "imaging/PixelKernels.h"
#include "imaging/ScratchMemory.h"

#include <cstdint>
#include <vector>

namespace imaging {

constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits;

// The continuous kernel behind a method: a pure function of the distance in source
// pixels (after widening), its support radius, and whether it widens when reducing.
struct ResampleKernel {
    double (*weight)(double distance);
    double support;
    bool widensOnReduction;  // reduction stretches the kernel over the whole source footprint
};

[[nodiscard]] const ResampleKernel& KernelFor(ResampleMethod method);

struct AxisWeights {
    int taps = 0;       // weights used per output: the widest footprint of the axis
    int tapStride = 0;  // taps rounded up to a multiple of four
    bool isPointSampling = false;  // every output takes exactly one source sample whole
    ScratchVector<int> first;
    ScratchVector<std::int16_t> weights;  // [output][tapStride]

    const std::int16_t* WeightsOf(int output) const { return weights.data() + std::size_t(output) * tapStride; }
};

// Weights for resampling `sourceLength` samples to `targetLength` (both >= 1). Output i's
// centre lies at (i + 0.5) * source / target in source pixels, where source pixel j's
// centre is j + 0.5: the image neither shifts nor grows at the edges. Samples past an edge
// take the edge's value. May throw std::bad_alloc.
[[nodiscard]] AxisWeights ComputeAxisWeights(int sourceLength, int targetLength, ResampleMethod method);

} // namespace imaging
