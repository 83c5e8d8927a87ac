// The CR LF line rule: the pure scan, the block splitter the HTTP body uses, and the
// socket line receiver over scripted arrivals (splits, pauses, closes, tiny buffers).
#include "net/LineSplitter.h"
#include "net/SocketClient.h"
#include "net/StringList.h"

#include "net_test_support.h"
#include "tests/net/servers/loopback_listener_test_support.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace net_test;

namespace {

std::vector<std::string> LinesOf(CPJStringList& list)
{
    std::vector<std::string> lines;
    for (int i = 0; i < list.GetCount(); ++i)
        lines.emplace_back(list.GetString(i), static_cast<size_t>(list.GetLength(i)));
    return lines;
}

// Splits `bytes` fed in blocks of `blockBytes`, then flushed.
std::vector<std::string> Split(const std::string& bytes, size_t blockBytes, size_t maxPiece)
{
    LineSplitter splitter(maxPiece);
    CPJStringList lines;
    for (size_t at = 0; at < bytes.size(); at += blockBytes)
        EXPECT_TRUE(splitter.Feed(bytes.data() + at, std::min(blockBytes, bytes.size() - at), lines));
    EXPECT_TRUE(splitter.Flush(lines));
    return LinesOf(lines);
}

} // namespace

TEST(LineRule, FindLineEndStopsJustAfterTheFirstCrLf)
{
    struct Case {
        const char* why;
        std::string bytes;
        bool afterCR;
        size_t expected;
    };
    const Case kCases[] = {
        {"a whole line", "abc\r\nxyz", false, 5},
        {"CR at the end, LF still to come", "abc\r", false, 0},
        {"the LF that completes a CR kept before", "\nabc\r\n", true, 1},
        {"a leading LF with no CR before it is data", "\nabc\r\n", false, 6},
        {"a bare LF is data", "a\nb\r\n", false, 5},
        {"a bare CR is data", "a\rb\r\n", false, 5},
        {"CR CR LF ends after the LF", "a\r\r\n", false, 4},
        {"after a CR, a byte other than LF goes on as data", "x\ry\r\n", true, 5},
        {"nothing to scan", "", true, 0},
        {"no line end at all", "abcdef", false, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.expected, FindLineEnd(c.bytes.data(), c.bytes.size(), c.afterCR));
    }
}

TEST(LineRule, SplitterGivesTheSameLinesHoweverTheBytesArrive)
{
    struct Case {
        const char* why;
        std::string bytes;
        size_t maxPiece;
        std::vector<std::string> lines;
    };
    const Case kCases[] = {
        {"lines keep their CR LF; the last one ends with the stream",
         "one\r\ntwo\r\nthree",
         100,
         {"one\r\n", "two\r\n", "three"}},
        {"a bare CR and a bare LF stay inside their line", "a\rb\nc\r\nd\r\n", 100, {"a\rb\nc\r\n", "d\r\n"}},
        {"a long line comes in pieces", "abcdefgh\r\n", 4, {"abcd", "efgh", "\r\n"}},
        {"a CR LF split by a piece boundary: the LF begins the next piece",
         "abc\r\nxy\r\n",
         4,
         {"abc\r", "\nxy\r", "\n"}},
        {"empty lines", "\r\n\r\n", 100, {"\r\n", "\r\n"}},
    };
    for (const Case& c : kCases) {
        for (size_t block : {size_t(1), size_t(2), size_t(3), size_t(7), c.bytes.size()}) {
            SCOPED_TRACE(std::string(c.why) + ", blocks of " + std::to_string(block));
            EXPECT_EQ(c.lines, Split(c.bytes, block, c.maxPiece));
        }
    }
}

TEST(LineRule, SplitterLinesRejoinIntoTheStreamAndEndOnlyAtCrLfOrAFullPiece)
{
    std::mt19937 random(20261210);
    const char kAlphabet[] = {'a', '\r', '\n', '\0', 'z'};
    for (int round = 0; round < 50; ++round) {
        std::string bytes(static_cast<size_t>(random() % 300), 'a');
        for (char& c : bytes)
            c = kAlphabet[random() % sizeof(kAlphabet)];
        const size_t maxPiece = 1 + random() % 20;
        std::vector<std::string> whole = Split(bytes, bytes.size() + 1, maxPiece);
        std::string joined;
        for (size_t i = 0; i < whole.size(); ++i) {
            const std::string& line = whole[i];
            SCOPED_TRACE("round " + std::to_string(round) + ", line " + std::to_string(i));
            joined += line;
            ASSERT_LE(line.size(), maxPiece);
            ASSERT_FALSE(line.empty());
            bool endsWithCrLf = line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0;
            bool continuesCR = line == "\n" && i > 0 && whole[i - 1].back() == '\r';
            bool last = i + 1 == whole.size();
            EXPECT_TRUE(endsWithCrLf || continuesCR || line.size() == maxPiece || last);
            // No line end inside a line.
            EXPECT_EQ(std::string::npos, line.substr(0, line.size() - 1).find("\r\n"));
        }
        EXPECT_EQ(bytes, joined);
        EXPECT_EQ(whole, Split(bytes, 1 + random() % 9, maxPiece));
    }
}

namespace {

// A socket client connected to a peer playing the script.
struct ConnectedClient {
    explicit ConnectedClient(Script script) : peer(std::move(script))
    {
        EXPECT_TRUE(peer.Start());
        EXPECT_EQ(0, client.Connect(peer.Port(), "127.0.0.1", AF_INET, SOCK_STREAM));
    }
    ScriptedPeer peer;
    CPJ_WSClient client;
};

std::string Receive(CPJ_WSClient& client, int size, int seconds, int* count = nullptr)
{
    std::vector<char> buffer(static_cast<size_t>(size > 0 ? size : 1) + 1, '#');
    int got = client.ReceiveLine(buffer.data(), size, seconds);
    if (count)
        *count = got;
    if (got > 0) {
        EXPECT_EQ('\0', buffer[static_cast<size_t>(got)]) << "the line is terminated";
    }
    return std::string(buffer.data(), static_cast<size_t>(got > 0 ? got : 0));
}

} // namespace

TEST(LineReceiver, ReadsLinesAsTheyArrive)
{
    struct Case {
        const char* why;
        Script script;
        int size;
        std::vector<std::string> lines;
    };
    const Case kCases[] = {
        {"CR, then LF in a later packet",
         {Send("abc\r"), Pause(150), Send("\nxyz\r\n")},
         100,
         {"abc\r\n", "xyz\r\n"}},
        {"two lines in one packet, one per call", {Send("one\r\ntwo\r\n")}, 100, {"one\r\n", "two\r\n"}},
        {"a 5-byte buffer takes four bytes a call", {Send("abcdefgh\r\n")}, 5, {"abcd", "efgh", "\r\n"}},
        {"a peer closing after four letters", {Send("abcd"), Close()}, 100, {"abcd"}},
        {"a bare CR at a receive boundary stays in the line",
         {Send("abc\r"), Pause(150), Send("Xyz\r\n")},
         100,
         {"abc\rXyz\r\n"}},
        {"a bare LF is data", {Send("a\nb\r\n")}, 100, {"a\nb\r\n"}},
        {"a line split over many packets",
         {Send("ab"), Pause(60), Send("c"), Pause(60), Send("d\r"), Pause(60), Send("\n")},
         100,
         {"abcd\r\n"}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        ConnectedClient connected(c.script);
        for (const std::string& line : c.lines)
            EXPECT_EQ(line, Receive(connected.client, c.size, 2));
        // The script ends by closing: nothing more comes.
        int count = -1;
        EXPECT_EQ("", Receive(connected.client, c.size, 2, &count));
        EXPECT_EQ(0, count);
    }
}

TEST(LineReceiver, LeavesTheNextLineInTheSocket)
{
    ConnectedClient connected({Send("one\r\ntwo\r\n"), Pause(2000)});
    EXPECT_EQ("one\r\n", Receive(connected.client, 100, 2));
    EXPECT_EQ(1, connected.client.IsDataWaiting());
    EXPECT_EQ("two\r\n", Receive(connected.client, 100, 2));
    EXPECT_EQ(0, connected.client.IsDataWaiting());
}

TEST(LineReceiver, CrLfSplitAtAPieceBoundaryKeepsEveryByte)
{
    // 16382 letters and CR fill a 16384-byte buffer; the LF opens the next piece.
    std::string longLine(16382, 'x');
    ConnectedClient connected({Send(longLine + "\r\nnext\r\n")});
    EXPECT_EQ(longLine + "\r", Receive(connected.client, 16384, 2));
    EXPECT_EQ("\nnext\r\n", Receive(connected.client, 16384, 2));
}

TEST(LineReceiver, SizeOneReturnsAtOnceWithoutWriting)
{
    ConnectedClient connected({Send("abc\r\n"), Pause(2000)});
    char buffer[2] = {'#', '#'};
    Stopwatch watch;
    EXPECT_EQ(0, connected.client.ReceiveLine(buffer, 1, 5));
    EXPECT_LT(watch.ElapsedMs(), 500);
    EXPECT_EQ('#', buffer[0]);
    EXPECT_EQ("abc\r\n", Receive(connected.client, 100, 2)) << "nothing was consumed";
}

TEST(LineReceiver, SilentPeerGivesNothingAfterTheWait)
{
    ConnectedClient connected({Pause(5000)});
    char buffer[16] = "untouched";
    Stopwatch watch;
    EXPECT_EQ(0, connected.client.ReceiveLine(buffer, sizeof(buffer), 1));
    long long elapsed = watch.ElapsedMs();
    EXPECT_GE(elapsed, 900);
    EXPECT_LT(elapsed, 2500);
    EXPECT_STREQ("untouched", buffer);
}

TEST(LineReceiver, ReceiveFailureEndsTheLineWithWhatWasKept)
{
    ConnectedClient connected({Send("ab"), Pause(150), Send("cd\r\n"), Pause(2000)});
    SocketCallSpy spy;
    // The calls: peek and consume "ab", then the second peek fails.
    spy.failRecvAt = 3;
    EXPECT_EQ("ab", Receive(connected.client, 100, 2));
    EXPECT_EQ("cd\r\n", Receive(connected.client, 100, 2));
}
