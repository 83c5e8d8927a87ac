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

// floor, ceil and lround for values well inside the int range, exactly as the library
// functions answer but inline: this runtime's versions are calls costing tens of
// nanoseconds, and a resize makes several for each of thousands of outputs before its
// workers can start.
int FloorToInt(double x)
{
    const int t = int(x);
    return t > x ? t - 1 : t;
}

int CeilToInt(double x)
{
    const int t = int(x);
    return t < x ? t + 1 : t;
}

// Halves away from zero. x - t is exact, as t is x without its fraction.
int RoundToInt(double x)
{
    const int t = int(x);
    const double fraction = x - t;
    return fraction >= 0.5 ? t + 1 : fraction <= -0.5 ? t - 1 : t;
}

// Nearest neighbour stays a point sampler when reducing: widening it would make it an
// area average, which is a different method.
constexpr KernelRow kKernels[] = {
    {ResampleMethod::Nearest, {BoxWeight, 0.5, false}},
    {ResampleMethod::Bilinear, {TriangleWeight, 1.0, true}},
    {ResampleMethod::Bicubic, {KeysCubicWeight, 2.0, true}},
};

// Every output's weights in double precision, edges folded onto the edge samples, one
// run after another in `weights`: output i's run starts at start[i] and ends at start[i + 1].
// Built without an allocation per output: a resize computes thousands of them on the
// calling thread before any worker starts.
struct Footprints {
    ScratchVector<int> first;
    ScratchVector<std::size_t> start;
    ScratchVector<double> weights;
    ScratchVector<double> folded;  // scratch of one output

    void Add(int output, int sourceLength, int targetLength, const ResampleKernel& kernel);
    std::size_t SizeOf(int output) const { return start[std::size_t(output) + 1] - start[std::size_t(output)]; }
};

void Footprints::Add(int output, int sourceLength, int targetLength, const ResampleKernel& kernel)
{
    // Exact for integer sizes: an output centre on a source boundary stays on it.
    double centre = (2.0 * output + 1.0) * sourceLength / (2.0 * targetLength);
    double scale = double(sourceLength) / targetLength;
    double widen = (kernel.widensOnReduction && scale > 1.0) ? scale : 1.0;
    double radius = kernel.support * widen;

    // Taps past an edge fold onto the edge sample: the window of stored weights stays
    // inside the source.
    int reachLo = FloorToInt(centre - radius - 0.5);
    int reachHi = CeilToInt(centre + radius - 0.5);
    int lo = std::clamp(reachLo, 0, sourceLength - 1);
    int hi = std::clamp(reachHi, 0, sourceLength - 1);
    folded.assign(std::size_t(hi - lo + 1), 0.0);
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
    if (used1 < used0 || total == 0.0) {
        // Cannot happen for the kernels above; keep the nearest sample rather than nothing.
        first.push_back(std::clamp(FloorToInt(centre), 0, sourceLength - 1));
        weights.push_back(1.0);
    } else {
        while (used0 < used1 && folded[std::size_t(used0 - lo)] == 0.0)
            ++used0;
        while (used1 > used0 && folded[std::size_t(used1 - lo)] == 0.0)
            --used1;
        first.push_back(used0);
        for (int j = used0; j <= used1; ++j)
            weights.push_back(folded[std::size_t(j - lo)] / total);
    }
    start.push_back(weights.size());
}

// Rounds to fixed point by running sums: rounding each weight alone would drop whole
// footprints once a strong reduction makes every weight smaller than one step, while
// this keeps every partial sum within half a step of the exact one. What is left of
// kWeightOne after the last rounding goes on the largest weight (keeps 2).
void ToFixedPoint(const double* weights, std::size_t count, std::int16_t* out)
{
    double exactSum = 0.0;
    int sum = 0;
    std::size_t largest = 0;
    for (std::size_t k = 0; k < count; ++k) {
        exactSum += weights[k] * kWeightOne;
        int roundedSum = RoundToInt(exactSum);
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
    Footprints footprints;
    footprints.first.reserve(std::size_t(targetLength));
    footprints.start.reserve(std::size_t(targetLength) + 1);
    footprints.start.push_back(0);
    // Room for the usual footprint, so that the runs rarely move while they grow.
    const double scale = double(sourceLength) / targetLength;
    const double reach = 2.0 * kernel.support * ((kernel.widensOnReduction && scale > 1.0) ? scale : 1.0) + 2.0;
    footprints.weights.reserve(std::size_t(targetLength) * std::size_t(std::min(reach, double(sourceLength) + 1.0)));
    AxisWeights axis;
    axis.taps = 1;
    for (int i = 0; i < targetLength; ++i) {
        footprints.Add(i, sourceLength, targetLength, kernel);
        axis.taps = std::max(axis.taps, int(footprints.SizeOf(i)));
    }
    axis.tapStride = (axis.taps + 3) & ~3;
    axis.first.resize(std::size_t(targetLength));
    axis.weights.assign(std::size_t(targetLength) * axis.tapStride, 0);
    axis.isPointSampling = axis.taps == 1;
    for (int i = 0; i < targetLength; ++i) {
        // Slide the window left at the far edge so that it stays inside the source (keeps 1).
        const int footprintFirst = footprints.first[std::size_t(i)];
        int first = std::min(footprintFirst, sourceLength - axis.taps);
        int offset = footprintFirst - first;
        axis.first[std::size_t(i)] = first;
        std::int16_t* w = axis.weights.data() + std::size_t(i) * axis.tapStride;
        ToFixedPoint(footprints.weights.data() + footprints.start[std::size_t(i)], footprints.SizeOf(i), w + offset);
    }
    return axis;
}

} // namespace imaging
