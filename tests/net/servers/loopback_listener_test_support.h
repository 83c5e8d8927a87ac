// Loopback servers for the internet clients' tests, bench and folder server: a TCP
// listener on 127.0.0.1 (an ephemeral port unless one is given) that serves each
// connection on its own thread, and plays scripts of sends, pauses, reads and closes
// on them. Stop() ends every wait within about 50 ms and joins every thread.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace net_test {

// One thing a server does on a connection.
struct Step {
    enum class Kind {
        Send,        // send the bytes (TCP_NODELAY: each send leaves as its own segment)
        Pause,       // wait `ms`
        ReadUntil,   // read until the bytes have arrived (or the peer goes)
        ReadToClose, // read until the peer closes
        HalfClose,   // shutdown(SD_SEND): the peer reads the end, the server still reads
        Close,       // close in order
        Reset,       // close with SO_LINGER 0: the peer gets a reset
        SendForever, // send the bytes again and again until the peer goes
        Trickle,     // send the bytes one at a time, `ms` apart
    };
    Kind kind;
    std::shared_ptr<const std::string> bytes;
    int ms;
};
using Script = std::vector<Step>;

Step Send(std::string bytes);
Step Pause(int ms);
Step ReadUntil(std::string bytes);
Step ReadToClose();
Step HalfClose();
Step Close();
Step Reset();
Step SendForever(std::string bytes);
Step Trickle(std::string bytes, int intervalMs);

class LoopbackListener {
public:
    LoopbackListener();
    virtual ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    // Listens on 127.0.0.1:port (0: ephemeral). Without `accepting`, connections queue
    // up to the backlog and are never taken.
    bool Start(int port = 0, int backlog = 16, bool accepting = true);
    // Ends every wait and joins every thread; derived destructors call it first.
    void Stop();
    int Port() const { return m_port; }
    int AcceptedCount() const { return m_accepted.load(); }
    // Waits until `count` connections have been served to their end.
    bool WaitUntilServed(int count, int timeoutMs) const;

protected:
    // Serves one accepted connection (numbered from 0) and closes it.
    virtual void Serve(SOCKET connection, int index) = 0;

    bool IsStopping() const { return m_stopping.load(); }
    // False when the listener stopped first.
    bool PauseUnlessStopped(int ms) const;
    // True when the socket is readable within ms; false on time-out or stop.
    bool WaitReadable(SOCKET s, int ms) const;
    // Reads until `text` is among the bytes read (all of them appended to `received`);
    // false when the peer closed, the time passed or the listener stopped first.
    bool ReadUntilText(SOCKET s, const std::string& text, std::string& received, int timeoutMs) const;
    bool SendAll(SOCKET s, const char* data, size_t count) const;
    // Plays the script; closes the socket at its end unless a step already did.
    // Everything read is appended to `received`.
    void Play(SOCKET s, const Script& script, std::string& received) const;

private:
    void AcceptLoop();

    SOCKET m_listen;
    int m_port;
    bool m_started;
    std::atomic<bool> m_stopping;
    std::atomic<int> m_accepted;
    std::atomic<int> m_served;
    HANDLE m_stopEvent;
    std::thread m_acceptThread;
    std::mutex m_threadsMutex;
    std::vector<std::thread> m_connectionThreads;
};

// A peer that plays scripts: connection i plays scripts[i], the last script for the
// connections beyond. Records what each connection read.
class ScriptedPeer : public LoopbackListener {
public:
    explicit ScriptedPeer(std::vector<Script> scripts);
    explicit ScriptedPeer(Script script);
    ~ScriptedPeer() override;
    std::vector<std::string> Received() const;

protected:
    void Serve(SOCKET connection, int index) override;

private:
    std::vector<Script> m_scripts;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_received;
};

} // namespace net_test
