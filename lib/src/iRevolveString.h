// The scratch text ring: heap buffers handed out in rotation and reused. Every
// field's display text lives here, borrowed by the caller until the ring comes
// round again; a caller that keeps a text copies it. Each thread has its own
// g_RevolveString, so a worker thread never overwrites a text the user-interface
// thread still reads.
#pragma once

#include "framework/ThreadLocal.h"

#include <memory>

// Owns its buffers. Invariants: (1) 0 <= index < used <= maximum; (2) every slot
// below used holds a buffer of its recorded size; (3) every size is a multiple of 8.
class iRevolveString {
public:
    // count buffers of size + 8 bytes cut down to a multiple of 8 (2056 for 2048),
    // in room for the larger of count and maximum slots.
    iRevolveString(int count, unsigned size, int maximum);
    virtual ~iRevolveString();
    iRevolveString(const iRevolveString&) = delete;
    iRevolveString& operator=(const iRevolveString&) = delete;

    // The next buffer, zero-filled, with room for at least n + 1 bytes.
    char* Get(unsigned n);
    char* Alloc(unsigned n) { return Get(n); }
    // The first n bytes of text (n 0: all of it) and a zero, in the next buffer.
    char* Dup(const char* text, unsigned n);
    char* Dup(const char* text);
    // The next buffer as it is sized, zero-filled over its whole size.
    char* Next();

protected:
    int m_index;
    int m_used;
    int m_maximum;
    std::unique_ptr<unsigned[]> m_sizes;
    std::unique_ptr<std::unique_ptr<char[]>[]> m_buffers;

private:
    void MoveOn();
};

extern CThreadLocal<iRevolveString> g_RevolveString;
