// Shared fixtures of the imaging tests.
#include "ImageFixtures.h"

#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

namespace imaging_test {

Colour PhotoLike(int x, int y)
{
    // A fixed hash of the position gives noise that is the same on every run.
    const unsigned hash = (static_cast<unsigned>(x) * 73856093u) ^ (static_cast<unsigned>(y) * 19349663u);
    const int noise = static_cast<int>((hash >> 7) % 9) - 4;
    auto level = [&](int value) { return std::clamp(value + noise, 0, 255); };
    return {level(40 + x * 3), level(200 - y * 2), level((x + y) * 2)};
}

Colour FewColours(int x, int y)
{
    static const Colour kColours[] = {{0, 0, 0}, {255, 255, 255}, {200, 30, 40}, {20, 180, 60}, {250, 220, 10}, {30, 60, 200}};
    return kColours[((x / 3) + (y / 2)) % 6];
}

Colour PixelAt(const imaging::BitmapHandle& bitmap, int x, int y)
{
    const imaging::PixelBuffer rows = imaging::TopDownView(bitmap);
    const std::uint8_t* p = rows.data + y * rows.stride + x * rows.channels;
    if (rows.channels == 1)
        return {p[0], p[0], p[0]};
    return {p[2], p[1], p[0]};
}

double Psnr(const imaging::BitmapHandle& a, const imaging::BitmapHandle& b)
{
    double squares = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const Colour ca = PixelAt(a, x, y), cb = PixelAt(b, x, y);
            for (int c = 0; c < 3; ++c)
                squares += (ca[c] - cb[c]) * (ca[c] - cb[c]);
        }
    }
    const double mean = squares / (3.0 * a.width * a.height);
    return mean == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mean);
}

int MaxDifference(const imaging::BitmapHandle& a, const imaging::BitmapHandle& b)
{
    int largest = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const Colour ca = PixelAt(a, x, y), cb = PixelAt(b, x, y);
            for (int c = 0; c < 3; ++c)
                largest = std::max(largest, std::abs(ca[c] - cb[c]));
        }
    }
    return largest;
}

ScratchFolder::ScratchFolder()
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("imaging_") + test->test_suite_name() + "_" + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    m_folder = std::string(base) + name + "_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(m_folder.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    for (const std::string& name : FileNames()) {
        const std::string path = Path(name);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(m_folder.c_str());
}

std::vector<std::string> ScratchFolder::FileNames() const
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(Path("*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

BitmapSnapshot::BitmapSnapshot(const imaging::BitmapHandle& bitmap)
    : record(bitmap), pixels(bitmap.pixels, bitmap.pixels + bitmap.pixelBytes)
{
}

bool BitmapSnapshot::Matches(const imaging::BitmapHandle& bitmap) const
{
    return std::memcmp(&record, &bitmap, sizeof record) == 0 &&
           std::equal(pixels.begin(), pixels.end(), bitmap.pixels);
}

void Put16(Bytes& file, std::size_t at, int value, bool isBigEndian)
{
    file[at + (isBigEndian ? 1 : 0)] = static_cast<std::uint8_t>(value & 0xFF);
    file[at + (isBigEndian ? 0 : 1)] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(Bytes& file, std::size_t at, std::uint32_t value, bool isBigEndian)
{
    Put16(file, at + (isBigEndian ? 2 : 0), static_cast<int>(value & 0xFFFF), isBigEndian);
    Put16(file, at + (isBigEndian ? 0 : 2), static_cast<int>(value >> 16), isBigEndian);
}

Bytes MakeBmp(int width, int height, int bitsPerPixel, int compression, const std::vector<BgrColour>& palette,
              const Bytes& data, const Bytes& gap, int infoSize)
{
    const std::size_t dataAt = 14 + 40 + gap.size() + 4 * palette.size();
    Bytes file(dataAt, 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 10, static_cast<std::uint32_t>(dataAt));
    Put32(file, 14, static_cast<std::uint32_t>(infoSize));
    Put32(file, 18, static_cast<std::uint32_t>(width));
    Put32(file, 22, static_cast<std::uint32_t>(height));
    Put16(file, 26, 1);
    Put16(file, 28, bitsPerPixel);
    Put32(file, 30, static_cast<std::uint32_t>(compression));
    Put32(file, 34, static_cast<std::uint32_t>(data.size()));
    Put32(file, 46, static_cast<std::uint32_t>(palette.size()));
    std::copy(gap.begin(), gap.end(), file.begin() + 54);
    for (std::size_t i = 0; i < palette.size(); ++i)
        std::copy(palette[i].begin(), palette[i].end(), file.begin() + 54 + gap.size() + 4 * i);
    file.insert(file.end(), data.begin(), data.end());
    Put32(file, 2, static_cast<std::uint32_t>(file.size()));
    return file;
}

StatusRecorder::StatusRecorder(int cancelAt) : m_cancelAt(cancelAt)
{
    m_previous = L_SetStatusCallBack(&StatusRecorder::Callback, this);
}

StatusRecorder::~StatusRecorder() { L_SetStatusCallBack(m_previous, nullptr); }

int StatusRecorder::Callback(int percent, void* userData)
{
    auto* self = static_cast<StatusRecorder*>(userData);
    self->m_reports.push_back(percent);
    return (self->m_cancelAt >= 0 && percent >= self->m_cancelAt) ? 0 : 1;
}

::testing::AssertionResult IsCompleteProgress(const std::vector<int>& reports)
{
    auto show = [&] {
        std::string text;
        for (int r : reports)
            text += std::to_string(r) + " ";
        return text;
    };
    if (reports.empty() || reports.front() != 0)
        return ::testing::AssertionFailure() << "does not start at 0: " << show();
    if (reports.back() != 100 || std::count(reports.begin(), reports.end(), 100) != 1)
        return ::testing::AssertionFailure() << "does not end in exactly one 100: " << show();
    for (std::size_t i = 1; i < reports.size(); ++i) {
        if (reports[i] <= reports[i - 1])
            return ::testing::AssertionFailure() << "does not rise: " << show();
    }
    return ::testing::AssertionSuccess();
}

// Region by region; the lowest 64 KB is never mapped.
std::size_t CommittedPrivateBytes()
{
    std::size_t total = 0;
    MEMORY_BASIC_INFORMATION region = {};
    const char* at = reinterpret_cast<const char*>(0x10000);
    while (VirtualQuery(at, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        at = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    }
    return total;
}

std::size_t PeakCommittedGrowth(const std::function<void()>& call)
{
    const std::size_t before = CommittedPrivateBytes();
    std::atomic<std::size_t> peak{before};
    std::atomic<bool> done{false};
    std::thread sampler([&] {
        while (!done.load()) {
            const std::size_t now = CommittedPrivateBytes();
            if (now > peak.load())
                peak.store(now);
            Sleep(1);
        }
    });
    call();
    done.store(true);
    sampler.join();
    return peak.load() > before ? peak.load() - before : 0;
}

void AddPngChunk(Bytes& file, const char* type, const Bytes& data)
{
    Bytes chunk(4, 0);
    Put32(chunk, 0, static_cast<std::uint32_t>(data.size()), true);
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    const auto crc = static_cast<std::uint32_t>(crc32(0, chunk.data() + 4, static_cast<uInt>(chunk.size() - 4)));
    chunk.resize(chunk.size() + 4);
    Put32(chunk, chunk.size() - 4, crc, true);
    file.insert(file.end(), chunk.begin(), chunk.end());
}

Bytes MakePng(int width, int height, int bitDepth, int colourType, const Bytes& scanlines,
              const std::vector<RgbColour>& palette)
{
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header(13, 0);
    Put32(header, 0, static_cast<std::uint32_t>(width), true);
    Put32(header, 4, static_cast<std::uint32_t>(height), true);
    header[8] = static_cast<std::uint8_t>(bitDepth);
    header[9] = static_cast<std::uint8_t>(colourType);
    AddPngChunk(png, "IHDR", header);
    if (!palette.empty()) {
        Bytes entries;
        for (const RgbColour& colour : palette)
            entries.insert(entries.end(), colour.begin(), colour.end());
        AddPngChunk(png, "PLTE", entries);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(scanlines.size()));
    Bytes packed(packedSize);
    EXPECT_EQ(Z_OK, compress(packed.data(), &packedSize, scanlines.data(), static_cast<uLong>(scanlines.size())));
    packed.resize(packedSize);
    AddPngChunk(png, "IDAT", packed);
    AddPngChunk(png, "IEND", {});
    return png;
}

} // namespace imaging_test
