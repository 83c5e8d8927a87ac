// Socket client: the peek-then-consume line receiver, and the text helpers that go
// with it (line-end stripping, field parsing).
#include "net/SocketClient.h"

#include "net/LineSplitter.h"

#include <cstring>

int CPJ_WSClient::ReceiveLine(char* buffer, int size, int seconds)
{
    long long waitMs = seconds > 0 ? static_cast<long long>(seconds) * 1000 : m_receiveTimeOutMs;
    if (waitMs > 0x7FFFFFFF)
        waitMs = 0x7FFFFFFF;
    return ReceiveLinePiece(buffer, size, static_cast<int>(waitMs), false);
}

// Peeks first and consumes exactly what it keeps, so every byte after the line end
// stays in the socket for the next call: the client holds no read-ahead between calls.
int CPJ_WSClient::ReceiveLinePiece(char* buffer, int size, int waitMs, bool afterCR, LineStop* stop)
{
    LineStop ignored;
    LineStop& why = stop ? *stop : ignored;
    why = LineStop::Full;
    if (!buffer || size < 2)
        return 0;
    const SocketCalls& calls = ActiveSocketCalls();
    int room = size - 1;
    int stored = 0;
    char* write = buffer;
    while (room > 0) {
        const WaitResult wait = WaitFor(Readiness::Readable, waitMs);
        if (wait != WaitResult::Ready) {
            why = wait == WaitResult::Failed ? LineStop::Closed : LineStop::Bound;
            return stored;
        }
        why = LineStop::Closed;
        int peeked = calls.recv(m_socket, write, room, MSG_PEEK);
        if (peeked < 1)
            return stored;
        // A CR kept so far ends the line only when an LF follows it; a bare CR in the
        // data stays in the line, wherever the bytes were split.
        bool lastWasCR = stored > 0 ? write[-1] == '\r' : afterCR;
        size_t lineEnd = FindLineEnd(write, static_cast<size_t>(peeked), lastWasCR);
        int take = lineEnd > 0 ? static_cast<int>(lineEnd) : peeked;
        int consumed = calls.recv(m_socket, write, take, 0);
        if (consumed < 1) {
            // The peeked bytes are only in the buffer, not consumed: keep the line as stored.
            if (stored > 0)
                *write = '\0';
            return stored;
        }
        write += consumed;
        stored += consumed;
        room -= consumed;
        *write = '\0';
        if (lineEnd > 0 && consumed == take) {
            why = LineStop::Ended;
            return stored;
        }
    }
    why = LineStop::Full;
    return stored;
}

int CPJ_WSClient::ReceiveReplyLine(char* buffer, int size, int waitMs, LineStop& stop)
{
    int stored = ReceiveLinePiece(buffer, size, waitMs, false, &stop);
    if (stop != LineStop::Full)
        return stored;
    // The buffer filled before the line ended: drop the rest of the line, so that it is
    // not read as the next reply.
    char rest[512];
    bool afterCR = buffer[stored - 1] == '\r';
    for (;;) {
        int got = ReceiveLinePiece(rest, sizeof(rest), waitMs, afterCR, &stop);
        if (stop != LineStop::Full)
            return stored;
        afterCR = rest[got - 1] == '\r';
    }
}

bool CPJ_WSClient::PeerClosedInOrder()
{
    if (m_socket == INVALID_SOCKET)
        return false;
    const SocketCalls& calls = ActiveSocketCalls();
    int error = 0;
    int length = sizeof(error);
    if (calls.getOption(m_socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0 || error != 0)
        return false;
    sockaddr_in peer;
    int peerLength = sizeof(peer);
    return calls.peerName(m_socket, reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0;
}

void CPJ_WSClient::StripCRLF(char* text)
{
    if (!text || !text[0])
        return;
    size_t length = strlen(text);
    if (length == 1) {
        if (text[0] == '\r' || text[0] == '\n')
            text[0] = '\0';
        return;
    }
    if (text[length - 2] == '\r' || text[length - 2] == '\n')
        text[length - 2] = '\0';
    else if (text[length - 1] == '\r' || text[length - 1] == '\n')
        text[length - 1] = '\0';
}

bool CPJ_WSClient::FindField(const char* text, const char* separators, int index, const char** start,
                             size_t* length)
{
    // Fields are maximal runs of non-separators; the terminating NUL closes the last
    // one. Without separators there are no fields at all.
    if (!text || !separators || !separators[0] || index < 0)
        return false;
    int field = -1;
    const char* begin = nullptr;
    for (const char* p = text;; ++p) {
        if (*p == '\0' || strchr(separators, *p)) {
            if (begin && ++field == index) {
                *start = begin;
                *length = static_cast<size_t>(p - begin);
                return true;
            }
            begin = nullptr;
            if (*p == '\0')
                return false;
        } else if (!begin) {
            begin = p;
        }
    }
}

int CPJ_WSClient::ParseString(const char* text, const char* separators, int index, char* out, int outSize)
{
    if (!out || outSize <= 0)
        return 1;
    out[0] = '\0';
    const char* start = nullptr;
    size_t length = 0;
    // The field must fit with its NUL.
    if (!FindField(text, separators, index, &start, &length) || length >= static_cast<size_t>(outSize))
        return 1;
    memcpy(out, start, length);
    out[length] = '\0';
    return 0;
}
