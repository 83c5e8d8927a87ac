// Soaks the banner: the strip and its worker run 10,000 ticks (a page each, Duration 0,
// no wait between ticks, the clock a second on at every reading) against the folder
// server in a process of its own, so that only the banner's own memory, handles and
// threads are counted. Even pages are small and come from the cache after their first
// fetch; odd pages are too long for the cache record and are fetched every time: half
// and half. Every 100 ticks the history is written and its window opened and closed on
// the strip's thread while the worker goes on. A prober thread takes the database lock
// every millisecond and notes how long it waited: no one held the lock longer than its
// longest wait, which also holds the time the system took to wake the prober; the same
// loop timed around nothing shows that part.
// First, Start's time on the strip's thread against a fast server, a refused port, a
// server that never accepts, one that accepts and never speaks, and one that sends its
// description a byte a second. Not run by the tests.
//
//   banner_soak.exe [ticks] [/no-browser] [/start-only]    (run from the build folder: it
//                                                          starts tests/serve_folder.exe)
// /no-browser leaves control containment off: the strip then hosts no WebBrowser, and
// what remains is the banner's own share. /start-only times Start and leaves out the soak.
// WinSock 2 before windows.h.
#include <winsock2.h>

#include "app/CustomOccManager.h"

#include "bench/bench_timing.h"

#include "banner/AffiliateLink.h"
#include "banner/CacheFrameWnd.h"

#include "database/iDBLock.h"
#include "database/mGrovePlus.h"

#include "lib/src/FilePaths.h"

#include "net/iHTTPClient.h"

#include "tests/net/servers/loopback_listener_test_support.h"

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using bench::Median;
using bench::NowMs;

constexpr int kDefaultTicks = 10000;
constexpr int kWarmTicks = 100;
constexpr int kHistoryEvery = 100;
constexpr int kPages = 10;
const CRect kStripRect(5, 365, 473, 427);

double Longest(const std::vector<double>& values)
{
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

double Percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(share * static_cast<double>(values.size() - 1))];
}

struct Usage {
    size_t privateBytes;
    int handles;
    int threads;
};

// Wine answers 0 for the process's handle count: the open handles are counted one by one.
int CountOpenHandles()
{
    int open = 0;
    for (ULONG_PTR value = 4; value < 0x8000; value += 4) {
        DWORD flags = 0;
        open += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    }
    return open;
}

Usage MeasureUsage()
{
    Usage usage = {};
    // Committed bytes: Wine leaves the private-bytes counter at 0.
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    usage.privateBytes = memory.PagefileUsage;
    usage.handles = CountOpenHandles();
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        usage.threads += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return usage;
}

void PumpFor(DWORD ms)
{
    const ULONGLONG end = GetTickCount64() + ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (ms)
            Sleep(1);
    } while (GetTickCount64() < end);
}

// The bench's surroundings: a folder of its own, a clock a second on at each reading (no
// two pages share a time key), draws that walk the pages in turn, no wait between ticks.
std::string g_folder;
std::atomic<int64_t> g_clock{1700000000};
std::atomic<int> g_draw{0};

iString BenchFolder()
{
    return g_folder.c_str();
}

int64_t BenchClock()
{
    return g_clock.fetch_add(1);
}

void NoSeed(unsigned) {}

int NextDraw()
{
    return g_draw.fetch_add(1);
}

// Records written into memory filled before anything is measured: under Wine the
// committed bytes count pages when they are first touched, so records that grew as they
// went would show as growth of the banner.
class Records {
public:
    explicit Records(size_t room) : m_values(room, 0.0) {}
    void Add(double value)
    {
        if (m_count < m_values.size())
            m_values[m_count++] = value;
    }
    size_t size() const { return m_count; }
    double operator[](size_t i) const { return m_values[i]; }
    std::vector<double> Values() const { return std::vector<double>(m_values.begin(), m_values.begin() + m_count); }

private:
    std::vector<double> m_values;
    size_t m_count = 0;
};

// A strip that notes when each page reaches its thread, then shows it.
class TimedStrip : public AffiliateLink {
public:
    TimedStrip(CWnd* parent, size_t ticks)
        : AffiliateLink(parent, kStripRect, WS_CHILD | WS_VISIBLE, "127.0.0.1", 0xFFFF), arrivals(ticks + 16)
    {
    }
    void NavigateToPage(const char* path) override
    {
        arrivals.Add(NowMs());
        AffiliateLink::NavigateToPage(path);
    }
    Records arrivals;
};

// The folder server in a process of its own; counts the pages it served.
class FolderServer {
public:
    bool Start(const std::string& site)
    {
        char module[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, module, MAX_PATH);
        std::string exe = module;
        exe = exe.substr(0, exe.find_last_of('\\')) + "\\..\\tests\\serve_folder.exe";
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE write = nullptr;
        if (!CreatePipe(&m_read, &write, &inherit, 0))
            return false;
        SetHandleInformation(m_read, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write;
        startup.hStdError = write;
        std::string command = "\"" + exe + "\" \"" + site + "\" 0 0";
        const BOOL made = CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                         nullptr, nullptr, &startup, &m_process);
        CloseHandle(write);
        if (!made)
            return false;
        std::string line;
        while (ReadLine(line)) {
            const size_t at = line.find("127.0.0.1:");
            if (at != std::string::npos) {
                m_port = atoi(line.c_str() + at + 10);
                break;
            }
        }
        m_reader = std::thread([this] {
            std::string served;
            while (ReadLine(served)) {
                if (served.find(".html -> 200") != std::string::npos)
                    ++m_pagesServed;
            }
        });
        return m_port > 0;
    }
    ~FolderServer()
    {
        if (m_process.hProcess) {
            TerminateProcess(m_process.hProcess, 0);
            WaitForSingleObject(m_process.hProcess, 5000);
            CloseHandle(m_process.hProcess);
            CloseHandle(m_process.hThread);
        }
        if (m_reader.joinable())
            m_reader.join();
        if (m_read)
            CloseHandle(m_read);
    }
    int Port() const { return m_port; }
    int PagesServed() const { return m_pagesServed.load(); }

private:
    bool ReadLine(std::string& line)
    {
        line.clear();
        char c;
        DWORD read = 0;
        while (ReadFile(m_read, &c, 1, &read, nullptr) && read == 1) {
            if (c == '\n')
                return true;
            line += c;
        }
        return !line.empty();
    }

    HANDLE m_read = nullptr;
    PROCESS_INFORMATION m_process = {};
    int m_port = 0;
    std::atomic<int> m_pagesServed{0};
    std::thread m_reader;
};

void WriteSite(const std::string& site)
{
    CreateDirectoryA(site.c_str(), nullptr);
    std::ofstream(site + "\\info.xml") << "<Banners><Page value=\"" << kPages
                                        << "\"/><Duration value=\"0\"/><Promotion value=\"-1\"/>"
                                           "<Refresh value=\"2000000000\"/></Banners>";
    for (int page = 0; page < kPages; ++page) {
        char name[32];
        snprintf(name, sizeof name, "\\%04d.html", page);
        // Odd pages do not fit the cache record (2046 bytes): fetched every time.
        const std::string filler(page % 2 ? 3000 : 200, static_cast<char>('a' + page));
        std::ofstream(site + name) << "<HTML><BODY>Banner " << page << " " << filler << "</BODY></HTML>";
    }
}

// Start on the strip's thread against the port: milliseconds until it returned.
double TimeStart(CWnd* parent, mGrovePlus* engine, int port)
{
    auto strip = std::make_unique<AffiliateLink>(parent, kStripRect, WS_CHILD | WS_VISIBLE, "127.0.0.1", 0xFFFF);
    const double started = NowMs();
    strip->Start("127.0.0.1", engine, port);
    const double tookMs = NowMs() - started;
    strip->StopAndWait();
    return tookMs;
}

int FreePort()
{
    net_test::ScriptedPeer probe(net_test::Script{});
    if (!probe.Start())
        return 1;
    const int port = probe.Port();
    probe.Stop();
    return port;
}

} // namespace

int main(int argc, char** argv)
{
    int ticks = kDefaultTicks;
    bool withBrowser = true;
    bool startOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "/no-browser")
            withBrowser = false;
        else if (std::string(argv[i]) == "/start-only")
            startOnly = true;
        else
            ticks = std::max(kWarmTicks * 2, atoi(argv[i]));
    }
    const std::string base = static_cast<const char*>(GetTempPathText()) + std::string("sorvanta-banner-soak");
    CreateDirectoryA(base.c_str(), nullptr);
    g_folder = base + "\\program";
    CreateDirectoryA(g_folder.c_str(), nullptr);
    DeleteFileA((g_folder + "\\Cache.dat").c_str());
    WriteSite(base + "\\site");
    BannerSeam seam = DefaultBannerSeam();
    seam.moduleDirectory = BenchFolder;
    seam.now = BenchClock;
    seam.tickMs = 0;
    seam.seedRandom = NoSeed;
    seam.random = NextDraw;
    SetBannerSeam(seam);

    FolderServer server;
    if (!server.Start(base + "\\site")) {
        fprintf(stderr, "banner_soak: the folder server (tests\\serve_folder.exe) did not start\n");
        return 1;
    }
    if (withBrowser)
        AfxEnableControlContainer(new CustomOccManager);
    CWnd host;
    host.CreateEx(0, nullptr, "banner soak", WS_OVERLAPPEDWINDOW, 0, 0, 700, 500, nullptr, nullptr);
    auto engine = std::make_unique<mGrovePlus>(16, 16, 32);

    printf("Start on the strip's thread (median of runs, ms):\n");
    std::vector<double> fast, refused;
    for (int run = 0; run < 5; ++run) {
        fast.push_back(TimeStart(&host, engine.get(), server.Port()));
        refused.push_back(TimeStart(&host, engine.get(), FreePort()));
    }
    // The hostile servers cost the bound of a fetch on the window thread; one run each.
    net_test::ScriptedPeer neverAccepting(net_test::Script{});
    double neverAccepts = 0;
    if (neverAccepting.Start(0, 16, false))
        neverAccepts = TimeStart(&host, engine.get(), neverAccepting.Port());
    neverAccepting.Stop();
    net_test::ScriptedPeer silent(net_test::Script{net_test::Pause(60000)});
    double neverSpeaks = 0;
    if (silent.Start())
        neverSpeaks = TimeStart(&host, engine.get(), silent.Port());
    silent.Stop();
    net_test::ScriptedPeer trickling(net_test::Script{
        net_test::Trickle("HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n<Banners><Page value=\"5\"/></Banners>", 1000)});
    double trickles = 0;
    if (trickling.Start())
        trickles = TimeStart(&host, engine.get(), trickling.Port());
    trickling.Stop();
    const int boundMs = iHTTPClient::kUserInterfaceExchangeMs;
    printf("    %-44s %9.1f   (goal under 100)\n", "fast server", Median(fast));
    printf("    %-44s %9.1f   (goal under 100)\n", "refused port", Median(refused));
    printf("    %-44s %9.1f   (goal at most %d + 500)\n", "server that never accepts (one run)", neverAccepts, boundMs);
    printf("    %-44s %9.1f   (goal at most %d + 500)\n", "server that accepts, never speaks (one run)", neverSpeaks,
           boundMs);
    printf("    %-44s %9.1f   (goal at most %d + 500)\n", "server that sends a byte a second (one run)", trickles,
           boundMs);
    if (startOnly)
        return 0;

    // How long holders kept the database lock, as a prober waiting for it sees it, and the
    // same loop around nothing (the system's own delays).
    std::atomic<bool> probing{true};
    Records lockWaits(static_cast<size_t>(ticks) * 40);
    Records emptyWaits(static_cast<size_t>(ticks) * 40);
    std::thread prober([&] {
        while (probing) {
            double asked = NowMs();
            { ScopedDatabaseLock lock; }
            lockWaits.Add(NowMs() - asked);
            asked = NowMs();
            emptyWaits.Add(NowMs() - asked);
            Sleep(1);
        }
    });

    TimedStrip strip(&host, static_cast<size_t>(ticks));
    strip.Start("127.0.0.1", engine.get(), server.Port());
    Usage warm = {};
    // The first history comes within the first 100 ticks, so that what it sets up once
    // (window classes, the placement record) is there before the first measurement.
    size_t nextHistory = kHistoryEvery / 2;
    int historyPages = 0;
    bool warmed = false;
    Records historyMs(static_cast<size_t>(ticks / kHistoryEvery) + 1);
    // Committed bytes along the way: growth that levels off is the heap settling, growth
    // that goes on is a leak.
    std::vector<std::pair<size_t, size_t>> along;
    along.reserve(16);
    size_t nextAlong = static_cast<size_t>(ticks) / 8;
    const double soakStarted = NowMs();
    while (strip.arrivals.size() < static_cast<size_t>(ticks)) {
        PumpFor(0);
        if (strip.arrivals.size() >= static_cast<size_t>(kWarmTicks) && !warmed) {
            warm = MeasureUsage();
            warmed = true;
        }
        if (strip.arrivals.size() >= nextAlong) {
            along.emplace_back(strip.arrivals.size(), MeasureUsage().privateBytes);
            nextAlong += static_cast<size_t>(ticks) / 8;
        }
        if (strip.arrivals.size() >= nextHistory) {
            const double asked = NowMs();
            strip.ShowHistory();
            historyMs.Add(NowMs() - asked);
            while (HWND frame = FindWindowA(nullptr, CacheFrameWnd::kTitle))
                ::DestroyWindow(frame);
            ++historyPages;
            nextHistory += kHistoryEvery;
        }
        Sleep(0);
    }
    const Usage after = MeasureUsage();
    const double soakMs = NowMs() - soakStarted;
    const bool ended = strip.StopAndWait();
    probing = false;
    prober.join();

    std::vector<double> perTick;
    for (size_t i = kWarmTicks + 1; i < strip.arrivals.size(); ++i)
        perTick.push_back(strip.arrivals[i] - strip.arrivals[i - 1]);
    printf("\nSoak%s: %d ticks in %.1f s, a page each; %d pages fetched from the server; %d history pages\n",
           withBrowser ? " with the WebBrowser" : " without a browser", ticks, soakMs / 1000.0, server.PagesServed(),
           historyPages);
    printf("    ms per tick: median %.2f, 90th percentile %.2f, longest %.2f\n", Median(perTick),
           Percentile(perTick, 0.9), Longest(perTick));
    printf("    after %d ticks -> after %d ticks:\n", kWarmTicks, ticks);
    printf("        private bytes %.2f MB -> %.2f MB (growth %+.2f MB, goal under 1 MB)\n",
           static_cast<double>(warm.privateBytes) / 1048576.0, static_cast<double>(after.privateBytes) / 1048576.0,
           (static_cast<double>(after.privateBytes) - static_cast<double>(warm.privateBytes)) / 1048576.0);
    printf("        along the way:");
    for (const auto& point : along)
        printf(" %zu: %.2f MB", point.first, static_cast<double>(point.second) / 1048576.0);
    printf("\n");
    printf("        handles %d -> %d, threads %d -> %d (goal: no growth)\n", warm.handles, after.handles,
           warm.threads, after.threads);
    const std::vector<double> waits = lockWaits.Values();
    const std::vector<double> empty = emptyWaits.Values();
    const std::vector<double> histories = historyMs.Values();
    const auto over5 = std::count_if(waits.begin(), waits.end(), [](double ms) { return ms >= 5.0; });
    printf("    waits for the database lock (%zu): median %.3f, 99.9th percentile %.2f, longest %.2f ms; %ld of 5 ms "
           "or more\n",
           waits.size(), Median(waits), Percentile(waits, 0.999), Longest(waits), static_cast<long>(over5));
    printf("    the same loop around nothing: 99.9th percentile %.2f, longest %.2f ms\n", Percentile(empty, 0.999),
           Longest(empty));
    printf("    history page and window (lock held for part of it): median %.1f, longest %.1f ms\n", Median(histories),
           Longest(histories));
    printf("    worker ended when the strip stopped: %s\n", ended ? "yes" : "NO");

    engine.reset();
    host.DestroyWindow();
    AfxTermControlContainer();
    return ended ? 0 : 1;
}
