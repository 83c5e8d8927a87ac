// Palettes for the indexed formats: exact colours, greys, or median cut.
#include "imaging/ColourQuantiser.h"

#include <algorithm>
#include <array>
#include <memory>

namespace imaging {
namespace {

constexpr int kMaxColours = 256;
constexpr int kBinBits = 6;
constexpr int kBinCount = 1 << (3 * kBinBits);

std::uint32_t PackColour(const std::uint8_t* bgr) { return std::uint32_t{bgr[2]} << 16 | bgr[1] << 8 | bgr[0]; }

int BinOf(const std::uint8_t* bgr)
{
    constexpr int shift = 8 - kBinBits;
    return (bgr[2] >> shift) << (2 * kBinBits) | (bgr[1] >> shift) << kBinBits | (bgr[0] >> shift);
}

void MakeGreyIndexed(const PixelBuffer& image, IndexedImage& indexed)
{
    indexed.palette.resize(kMaxColours);
    for (std::uint32_t level = 0; level < kMaxColours; ++level)
        indexed.palette[level] = level << 16 | level << 8 | level;
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.data + y * image.stride;
        std::copy(row, row + image.width, indexed.indices.begin() + static_cast<std::ptrdiff_t>(y) * image.width);
    }
}

// A colour histogram bin: how many pixels fell in it and the exact sums of their channels.
struct Bin {
    std::uint32_t count = 0;
    std::uint64_t red = 0, green = 0, blue = 0;
};

// A colour or occupied bin as the median cut sees it: its mean colour and weight.
struct ColourEntry {
    std::array<float, 3> mean;  // red, green, blue
    std::uint32_t count;
    int key;                    // its slot among the exact colours, or its bin
};

struct Box {
    std::size_t begin, end;  // a range of entries
    double error;            // weighted squared distance of the entries from the box's mean
    int axis;                // the channel of largest spread
};

Box MeasureBox(const std::vector<ColourEntry>& entries, std::size_t begin, std::size_t end)
{
    double weight = 0, sum[3] = {}, squares[3] = {};
    for (std::size_t i = begin; i < end; ++i) {
        for (int c = 0; c < 3; ++c) {
            sum[c] += static_cast<double>(entries[i].mean[c]) * entries[i].count;
            squares[c] += static_cast<double>(entries[i].mean[c]) * entries[i].mean[c] * entries[i].count;
        }
        weight += entries[i].count;
    }
    Box box{begin, end, 0.0, 0};
    double widest = -1;
    for (int c = 0; c < 3; ++c) {
        const double spread = squares[c] - sum[c] * sum[c] / weight;
        box.error += spread;
        if (spread > widest) {
            widest = spread;
            box.axis = c;
        }
    }
    return box;
}

std::uint32_t MeanColour(const std::vector<ColourEntry>& entries, std::size_t begin, std::size_t end)
{
    double weight = 0, sum[3] = {};
    for (std::size_t i = begin; i < end; ++i) {
        for (int c = 0; c < 3; ++c)
            sum[c] += static_cast<double>(entries[i].mean[c]) * entries[i].count;
        weight += entries[i].count;
    }
    std::uint32_t packed = 0;
    for (int c = 0; c < 3; ++c)
        packed = packed << 8 | static_cast<std::uint32_t>(std::clamp(sum[c] / weight + 0.5, 0.0, 255.0));
    return packed;
}

int Nearest(const std::vector<std::uint32_t>& palette, const std::array<float, 3>& colour)
{
    int best = 0;
    float bestDistance = 1e30f;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const float dr = static_cast<float>(palette[i] >> 16 & 0xFF) - colour[0];
        const float dg = static_cast<float>(palette[i] >> 8 & 0xFF) - colour[1];
        const float db = static_cast<float>(palette[i] & 0xFF) - colour[2];
        const float distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

// Splits the box of largest error at the weighted median of its widest channel until
// the palette is full or no box can be split.
std::vector<std::uint32_t> MedianCut(std::vector<ColourEntry>& entries)
{
    std::vector<Box> boxes{MeasureBox(entries, 0, entries.size())};
    while (boxes.size() < kMaxColours) {
        auto widest = std::max_element(boxes.begin(), boxes.end(),
                                       [](const Box& a, const Box& b) { return a.error < b.error; });
        if (widest->end - widest->begin < 2 || widest->error <= 0.0)
            break;
        const Box box = *widest;
        std::sort(entries.begin() + box.begin, entries.begin() + box.end,
                  [axis = box.axis](const ColourEntry& a, const ColourEntry& b) {
                      return a.mean[axis] < b.mean[axis];
                  });
        double total = 0;
        for (std::size_t i = box.begin; i < box.end; ++i)
            total += entries[i].count;
        double running = 0;
        std::size_t split = box.begin + 1;
        for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
            running += entries[i].count;
            split = i + 1;
            if (running >= total / 2)
                break;
        }
        *widest = MeasureBox(entries, box.begin, split);
        boxes.push_back(MeasureBox(entries, split, box.end));
    }
    std::vector<std::uint32_t> palette;
    for (const Box& box : boxes)
        palette.push_back(MeanColour(entries, box.begin, box.end));
    return palette;
}

// One k-means pass: every palette colour moves to the mean of the entries nearest to it.
void Refine(const std::vector<ColourEntry>& entries, std::vector<std::uint32_t>& palette)
{
    std::vector<std::array<double, 4>> sums(palette.size(), {0, 0, 0, 0});
    for (const ColourEntry& entry : entries) {
        auto& sum = sums[Nearest(palette, entry.mean)];
        for (int c = 0; c < 3; ++c)
            sum[c] += static_cast<double>(entry.mean[c]) * entry.count;
        sum[3] += entry.count;
    }
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if (sums[i][3] == 0)
            continue;
        std::uint32_t packed = 0;
        for (int c = 0; c < 3; ++c)
            packed = packed << 8 | static_cast<std::uint32_t>(std::clamp(sums[i][c] / sums[i][3] + 0.5, 0.0, 255.0));
        palette[i] = packed;
    }
}

// Exact colours and their counts, by open addressing; gives up beyond kMaxExactColours.
class ColourCounts {
public:
    ColourCounts() : m_keys(kSlots, kEmpty), m_counts(kSlots, 0), m_indices(kSlots, 0) {}

    [[nodiscard]] bool Add(std::uint32_t colour)
    {
        const std::size_t slot = Find(colour);
        if (m_keys[slot] == kEmpty) {
            if (m_size == kMaxExactColours)
                return false;
            m_keys[slot] = colour;
            ++m_size;
        }
        ++m_counts[slot];
        return true;
    }
    void AppendEntries(std::vector<ColourEntry>& entries) const
    {
        for (std::size_t slot = 0; slot < kSlots; ++slot) {
            if (m_keys[slot] != kEmpty)
                entries.push_back({{static_cast<float>(m_keys[slot] >> 16), static_cast<float>(m_keys[slot] >> 8 & 0xFF),
                                    static_cast<float>(m_keys[slot] & 0xFF)},
                                   m_counts[slot], static_cast<int>(slot)});
        }
    }
    void SetIndex(int slot, std::uint8_t index) { m_indices[slot] = index; }
    std::uint8_t IndexOf(std::uint32_t colour) const { return m_indices[Find(colour)]; }

private:
    static constexpr std::size_t kMaxExactColours = 1 << 18;
    static constexpr std::size_t kSlots = kMaxExactColours * 2;
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;

    std::size_t Find(std::uint32_t colour) const
    {
        std::size_t slot = (colour * 2654435761u) & (kSlots - 1);
        while (m_keys[slot] != colour && m_keys[slot] != kEmpty)
            slot = (slot + 1) & (kSlots - 1);
        return slot;
    }

    std::vector<std::uint32_t> m_keys;
    std::vector<std::uint32_t> m_counts;
    std::vector<std::uint8_t> m_indices;
    std::size_t m_size = 0;
};

// Occupied bins of the 6-bit histogram; each entry's colour is the exact mean of its pixels.
void AppendBinEntries(const PixelBuffer& image, std::vector<ColourEntry>& entries)
{
    std::vector<Bin> bins(kBinCount);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.data + y * image.stride;
        for (int x = 0; x < image.width; ++x) {
            Bin& bin = bins[BinOf(row + 3 * x)];
            ++bin.count;
            bin.blue += row[3 * x];
            bin.green += row[3 * x + 1];
            bin.red += row[3 * x + 2];
        }
    }
    for (int i = 0; i < kBinCount; ++i) {
        const Bin& bin = bins[i];
        if (bin.count == 0)
            continue;
        const float n = static_cast<float>(bin.count);
        entries.push_back({{static_cast<float>(bin.red) / n, static_cast<float>(bin.green) / n,
                            static_cast<float>(bin.blue) / n},
                           bin.count, i});
    }
}

// Works on the exact colours while there are at most 2^18 of them (gradients, drawings),
// else on the 6-bit bins (photographs), whose 4-level granularity noise hides.
[[nodiscard]] bool QuantiseMedianCut(const PixelBuffer& image, const ProgressFn& progress, IndexedImage& indexed)
{
    std::vector<ColourEntry> entries;
    auto counts = std::make_unique<ColourCounts>();
    bool isExact = true;
    for (int y = 0; y < image.height && isExact; ++y) {
        const std::uint8_t* row = image.data + y * image.stride;
        for (int x = 0; x < image.width && isExact; ++x)
            isExact = counts->Add(PackColour(row + 3 * x));
        if (progress && !progress(static_cast<int>(static_cast<std::int64_t>(y + 1) * 40 / image.height)))
            return false;
    }
    if (isExact) {
        counts->AppendEntries(entries);
    } else {
        counts.reset();
        AppendBinEntries(image, entries);
    }
    indexed.palette = MedianCut(entries);
    Refine(entries, indexed.palette);
    if (progress && !progress(60))
        return false;

    std::vector<std::uint8_t> binToIndex(isExact ? 0 : kBinCount, 0);
    for (const ColourEntry& entry : entries) {
        const auto index = static_cast<std::uint8_t>(Nearest(indexed.palette, entry.mean));
        if (isExact)
            counts->SetIndex(entry.key, index);
        else
            binToIndex[entry.key] = index;
    }
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.data + y * image.stride;
        std::uint8_t* out = indexed.indices.data() + static_cast<std::ptrdiff_t>(y) * image.width;
        for (int x = 0; x < image.width; ++x)
            out[x] = isExact ? counts->IndexOf(PackColour(row + 3 * x)) : binToIndex[BinOf(row + 3 * x)];
        if (progress && !progress(60 + static_cast<int>(static_cast<std::int64_t>(y + 1) * 39 / image.height)))
            return false;
    }
    return true;
}

} // namespace

bool TryExactPalette(const PixelBuffer& image, IndexedImage& indexed)
{
    indexed.width = image.width;
    indexed.height = image.height;
    indexed.indices.resize(static_cast<std::size_t>(image.width) * image.height);
    indexed.palette.clear();
    if (image.channels == 1) {
        MakeGreyIndexed(image, indexed);
        return true;
    }

    // Open addressing over 1024 slots: at most 257 colours are ever stored.
    constexpr std::uint32_t kSlots = 1024, kEmpty = 0xFFFFFFFF;
    std::array<std::uint32_t, kSlots> keys;
    std::array<std::uint8_t, kSlots> values{};
    keys.fill(kEmpty);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.data + y * image.stride;
        std::uint8_t* out = indexed.indices.data() + static_cast<std::ptrdiff_t>(y) * image.width;
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t colour = PackColour(row + 3 * x);
            std::uint32_t slot = (colour * 2654435761u) >> 22;
            while (keys[slot] != colour && keys[slot] != kEmpty)
                slot = (slot + 1) & (kSlots - 1);
            if (keys[slot] == kEmpty) {
                if (indexed.palette.size() == kMaxColours)
                    return false;
                keys[slot] = colour;
                values[slot] = static_cast<std::uint8_t>(indexed.palette.size());
                indexed.palette.push_back(colour);
            }
            out[x] = values[slot];
        }
    }
    return true;
}

bool MakeIndexed(const PixelBuffer& image, const ProgressFn& progress, IndexedImage& indexed)
{
    if (TryExactPalette(image, indexed))
        return !progress || progress(99);
    return QuantiseMedianCut(image, progress, indexed);
}

} // namespace imaging
