// The line rule of the internet clients, in memory: a line ends just after CR LF (the
// two bytes may arrive apart), a lone CR or LF is data, and a line longer than a piece
// comes in pieces. The socket line receiver scans with it, and the HTTP body reader
// splits whole blocks with it, so both give exactly the same lines.
#pragma once

#include <cstddef>
#include <string>

class CPJStringList;

// Bytes of `bytes` up to and including the first line end, or 0 when none is there.
// `afterCR` says the byte before bytes[0] (already kept in the line) was CR, so a
// leading LF ends the line.
size_t FindLineEnd(const char* bytes, size_t count, bool afterCR);

// Splits a byte stream fed block by block into lines of at most `maxPiece` bytes and
// appends them to a list, each with its line end.
class LineSplitter {
public:
    explicit LineSplitter(size_t maxPiece);

    // Both return false when memory ran out and a line could not be kept.
    bool Feed(const char* data, size_t count, CPJStringList& lines);
    // Appends the unfinished line, if any (the stream ended or fell silent).
    bool Flush(CPJStringList& lines);
    bool HasPending() const { return !m_pending.empty(); }

private:
    size_t m_maxPiece;
    std::string m_pending;
};
