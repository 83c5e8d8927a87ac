// The resampling kernels and the per-axis weight tables built from them.
#include "imaging/ResampleWeights.h"

#include <algorithm>
#include <cmath>

namespace imaging {
namespace {

// Point sampling: the source pixel whose area holds the output centre.
double BoxWeight(double distance)
{
    return (distance > -0.5 && distance <= 0.5) ? 1.0 : 0.0;
}

double TriangleWeight(double distance)
{
    double d = std::fabs(distance);
    return d < 1.0 ? 1.0 - d : 0.0;
}

// Keys' cubic convolution with a = -0.5 (Catmull-Rom): interpolating, and exact for
// quadratics, so smooth areas keep their values and edges ring only slightly.
constexpr double kKeysA = -0.5;

double KeysCubicWeight(double distance)
{
    double d = std::fabs(distance);
    if (d < 1.0)
        return ((kKeysA + 2.0) * d - (kKeysA + 3.0)) * d * d + 1.0;
    if (d < 2.0)
        return ((kKeysA * d - 5.0 * kKeysA) * d + 8.0 * kKeysA) * d - 4.0 * kKeysA;
    return 0.0;
}

struct KernelRow {
    ResampleMethod method;
    ResampleKernel kernel;
};

// Nearest neighbour stays a point sampler when reducing: widening it would make it an
// area average, which is a different method.
constexpr KernelRow kKernels[] = {
    {ResampleMethod::Nearest, {BoxWeight, 0.5, false}},
    {ResampleMethod::Bilinear, {TriangleWeight, 1.0, true}},
    {ResampleMethod::Bicubic, {KeysCubicWeight, 2.0, true}},
};

// One output's weights in double precision, edges folded onto the edge samples.
struct Footprint {
    int first = 0;
    std::vector<double> weights;
};

Footprint ComputeFootprint(int output, int sourceLength, int targetLength, const ResampleKernel& kernel)
{
    // Exact for integer sizes: an output centre on a source boundary stays on it.
    double centre = (2.0 * output + 1.0) * sourceLength / (2.0 * targetLength);
    double scale = double(sourceLength) / targetLength;
    double widen = (kernel.widensOnReduction && scale > 1.0) ? scale : 1.0;
    double radius = kernel.support * widen;

    // Taps past an edge fold onto the edge sample: the window of stored weights stays
    // inside the source.
    int reachLo = int(std::floor(centre - radius - 0.5));
    int reachHi = int(std::ceil(centre + radius - 0.5));
    int lo = std::clamp(reachLo, 0, sourceLength - 1);
    int hi = std::clamp(reachHi, 0, sourceLength - 1);
    std::vector<double> folded(std::size_t(hi - lo + 1), 0.0);
    int used0 = hi + 1, used1 = lo - 1;
    double total = 0.0;
    for (int j = reachLo; j <= reachHi; ++j) {
        double w = kernel.weight((j + 0.5 - centre) / widen);
        if (w == 0.0)
            continue;
        int clamped = std::clamp(j, lo, hi);
        folded[std::size_t(clamped - lo)] += w;
        total += w;
        used0 = std::min(used0, clamped);
        used1 = std::max(used1, clamped);
    }
    Footprint fp;
    if (used1 < used0 || total == 0.0) {
        // Cannot happen for the kernels above; keep the nearest sample rather than nothing.
        fp.first = std::clamp(int(std::floor(centre)), 0, sourceLength - 1);
        fp.weights.assign(1, 1.0);
        return fp;
    }
    while (used0 < used1 && folded[std::size_t(used0 - lo)] == 0.0)
        ++used0;
    while (used1 > used0 && folded[std::size_t(used1 - lo)] == 0.0)
        --used1;
    fp.first = used0;
    for (int j = used0; j <= used1; ++j)
        fp.weights.push_back(folded[std::size_t(j - lo)] / total);
    return fp;
}

// Rounds to fixed point by running sums: rounding each weight alone would drop whole
// footprints once a strong reduction makes every weight smaller than one step, while
// this keeps every partial sum within half a step of the exact one. What is left of
// kWeightOne after the last rounding goes on the largest weight (keeps 2).
void ToFixedPoint(const std::vector<double>& weights, std::int16_t* out)
{
    double exactSum = 0.0;
    int sum = 0;
    std::size_t largest = 0;
    for (std::size_t k = 0; k < weights.size(); ++k) {
        exactSum += weights[k] * kWeightOne;
        int roundedSum = int(std::lround(exactSum));
        out[k] = std::int16_t(roundedSum - sum);
        sum = roundedSum;
        if (std::fabs(weights[k]) > std::fabs(weights[largest]))
            largest = k;
    }
    out[largest] = std::int16_t(out[largest] + (kWeightOne - sum));
}

} // namespace

const ResampleKernel& KernelFor(ResampleMethod method)
{
    for (const KernelRow& row : kKernels)
        if (row.method == method)
            return row.kernel;
    return kKernels[0].kernel;
}

AxisWeights ComputeAxisWeights(int sourceLength, int targetLength, ResampleMethod method)
{
    const ResampleKernel& kernel = KernelFor(method);
    std::vector<Footprint> footprints(static_cast<std::size_t>(targetLength));
    AxisWeights axis;
    axis.taps = 1;
    for (int i = 0; i < targetLength; ++i) {
        footprints[std::size_t(i)] = ComputeFootprint(i, sourceLength, targetLength, kernel);
        axis.taps = std::max(axis.taps, int(footprints[std::size_t(i)].weights.size()));
    }
    axis.tapStride = (axis.taps + 3) & ~3;
    axis.first.resize(std::size_t(targetLength));
    axis.weights.assign(std::size_t(targetLength) * axis.tapStride, 0);
    axis.isPointSampling = axis.taps == 1;
    for (int i = 0; i < targetLength; ++i) {
        const Footprint& fp = footprints[std::size_t(i)];
        // Slide the window left at the far edge so that it stays inside the source (keeps 1).
        int first = std::min(fp.first, sourceLength - axis.taps);
        int offset = fp.first - first;
        axis.first[std::size_t(i)] = first;
        std::int16_t* w = axis.weights.data() + std::size_t(i) * axis.tapStride;
        ToFixedPoint(fp.weights, w + offset);
    }
    return axis;
}

} // namespace imaging
