// CPJ_WSClient: the base of the internet clients. One blocking TCP connection over
// WinSock 1.1 with text sending, a CR LF line receiver that never consumes a byte past
// the line end, host-name look-up into a dotted address and a few socket utilities.
// It stands on WinSock and the C runtime alone and reports by result codes, never by
// exceptions or messages.
//
// Every wait (connect, receive, send) is bounded: by its own time-out, by an optional
// deadline a derived client sets for a whole exchange, and by an optional cancel flag
// that ends it within about 100 ms of being set.
#pragma once

#include "net/SocketCalls.h"

#include <atomic>

class CPJ_WSClient {
public:
    typedef int (*StatusCallback)(int value);
    typedef int (*StatusCallbackWithData)(int value, UINT_PTR userData);

    CPJ_WSClient();
    virtual ~CPJ_WSClient();
    CPJ_WSClient(const CPJ_WSClient&) = delete;
    CPJ_WSClient& operator=(const CPJ_WSClient&) = delete;

    // The status hooks: the plain callback when set, else the one with user data,
    // else 1. Nothing in the library calls them; a derived client may.
    virtual int OnReceiveStatus(int value);
    virtual int OnSendStatus(int value);
    // Hooks with empty bodies for derived clients; nothing in the library calls them.
    virtual void OnUserHook(UINT_PTR first, UINT_PTR second) {}
    virtual void OnUserHookA(UINT_PTR value) {}
    virtual void OnUserHookB(UINT_PTR value) {}

    // Opens the data socket and connects it to the dotted IPv4 address (at most 31
    // characters) within the connect time-out. 0 connected, 1 a connection is already
    // open, 2 no socket made (socket() failed, or the address is missing or too long:
    // then nothing is stored), 3 the connect failed, timed out or was cancelled.
    int Connect(int port, const char* address, int family, int type);
    // Closes the data socket: 0, or bit 1 when shutdown failed and bit 2 when
    // closesocket failed. The socket is closed afterwards in every case.
    int CloseConnection();
    // Sends `length` bytes (the text's length when `length` is 0 or less), looping over
    // partial sends: the full length, or -1 (SOCKET_ERROR) when a send failed, the send
    // time-out passed or the wait was cancelled. An empty text sends nothing and gives 0.
    int Send(const char* data, int length);
    // 0 when the data socket becomes readable within the time, 1 on time-out or error.
    int WaitForReceive(int seconds, int microseconds);
    // One line into the buffer with its CR LF and a NUL; the number of bytes stored, 0
    // when nothing came (the buffer is then untouched). A line longer than size - 1
    // comes in pieces of size - 1 bytes. With seconds > 0 each wait for data lasts at
    // most that long; otherwise the receive time-out bounds it.
    int ReceiveLine(char* buffer, int size, int seconds);
    // Removes a CR, LF or CR LF at the end of the text.
    static void StripCRLF(char* text);
    // 1 when bytes are waiting to be read, else 0.
    int IsDataWaiting();
    // The dotted address of a host (of the part after the last "@" of a mail address):
    // 0 found, 1 `out` too small, 2 look-up failed. `out` changes only on 0.
    int GetAddressFromName(const char* name, char* out, int outSize);
    // 1 when the text is a dotted IPv4 address other than 255.255.255.255.
    int IsIPAddress(const char* text);
    // 1 while the peer holds the connection, 0 once it closed or reset it.
    int IsConnected();
    // Field `index` (from 0) of the text split at any of the separators (runs of them
    // count as one) into `out`: 0 found, 1 missing or too long (`out` is then empty).
    static int ParseString(const char* text, const char* separators, int index, char* out, int outSize);
    SOCKET GetSocket() const { return m_socket; }
    // Store the time-out and apply it to the open socket (Connect applies both).
    void SetReceiveTimeOut(int ms);
    void SetSendTimeOut(int ms);
    // 0 when the socket's blocking mode was set, 1 on failure.
    int SetNonBlocking(int on);

    // How long Connect waits for the peer (5000 ms at construction).
    void SetConnectTimeOut(int ms);
    // A flag the client reads during every wait; once it is set, the wait ends within
    // about 100 ms and the call answers a failure. Null (the default) for none.
    void SetCancelFlag(const std::atomic<bool>* flag) { m_cancelFlag = flag; }
    // How long the derived clients wait for each reply line (kDefaultLineWaitMs at construction).
    static constexpr int kDefaultLineWaitMs = 5000;
    void SetLineWaitTimeOut(int ms);

    StatusCallbackWithData m_receiveStatusCallbackWithData;
    StatusCallbackWithData m_sendStatusCallbackWithData;
    StatusCallback m_receiveStatusCallback;
    StatusCallback m_sendStatusCallback;
    UINT_PTR m_receiveStatusUserData;
    UINT_PTR m_sendStatusUserData;

protected:
    enum class Readiness { Readable, Writable, Connected };
    enum class WaitResult { Ready, TimedOut, Failed, Interrupted };
    // Why a line read stopped: at its CR LF, with the buffer full, because the peer closed
    // (or the socket failed), or because a wait ran out (its own, the deadline or the
    // cancel flag).
    enum class LineStop { Ended, Full, Closed, Bound };

    // Waits up to waitMs, bounded by the deadline and ended by the cancel flag (both
    // count as Interrupted), until the data socket is ready for what is asked.
    WaitResult WaitFor(Readiness what, int waitMs);
    // ReceiveLine with the wait in milliseconds and the state of the previous piece:
    // `afterCR` says the line so far ended with CR, so a leading LF ends it. `stop`, when
    // given, says why the read stopped.
    int ReceiveLinePiece(char* buffer, int size, int waitMs, bool afterCR, LineStop* stop = nullptr);
    // One reply line: a line longer than the buffer keeps its first piece and the rest
    // of it is read and dropped, so that the next read starts at the next line. `stop` is
    // Ended, Closed or Bound; Bound with bytes stored means the line was cut by its bound
    // and the rest of it may still come.
    int ReceiveReplyLine(char* buffer, int size, int waitMs, LineStop& stop);
    // After a receive answered 0: whether the peer ended the connection in order (its
    // shutdown) rather than with a reset. Wine 8 reports a reset as an ordinary end (the
    // receive answers 0 and SO_ERROR is 0), but the connection is gone then, so the
    // peer's name can no longer be read; after an orderly end it still can.
    bool PeerClosedInOrder();

    // Where field `index` of the text lies (see ParseString); false when there is none.
    static bool FindField(const char* text, const char* separators, int index, const char** start, size_t* length);

    // A deadline (GetTickCount64) for every wait until cleared; 0 for none.
    void SetDeadline(ULONGLONG tick) { m_deadlineTick = tick; }
    // Whether the cancel flag or the deadline ended a wait since the last ClearInterrupted.
    bool WasInterrupted() const { return m_interrupted; }
    void ClearInterrupted() { m_interrupted = false; }
    bool IsCancelled() const;
    // Whether the cancel flag is set or the deadline has passed (then marked interrupted).
    bool IsPastDeadlineOrCancelled();

    int m_port;
    char m_serverAddress[32];
    int m_family;
    int m_type;
    WSADATA m_startupData;
    SOCKET m_socket;
    sockaddr_in m_peerAddress;
    int m_sendTimeOutMs;
    int m_receiveTimeOutMs;

    bool m_isStarted;
    int m_connectTimeOutMs;
    int m_lineWaitMs;
    const std::atomic<bool>* m_cancelFlag;
    ULONGLONG m_deadlineTick;
    bool m_interrupted;

private:
    void ApplyTimeOut(int name, int ms);
    bool FinishConnect(SOCKET s);
};
