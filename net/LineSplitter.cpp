// CR LF line splitting over bytes in memory.
#include "net/LineSplitter.h"

#include "net/StringList.h"

#include <algorithm>
#include <cstring>

size_t FindLineEnd(const char* bytes, size_t count, bool afterCR)
{
    if (count == 0)
        return 0;
    if (afterCR && bytes[0] == '\n')
        return 1;
    // The first LF with a CR before it ends the line; memchr keeps the scan fast on
    // long bodies.
    const char* p = bytes;
    const char* end = bytes + count;
    while (p < end) {
        const char* lf = static_cast<const char*>(memchr(p, '\n', static_cast<size_t>(end - p)));
        if (!lf)
            return 0;
        if (lf > bytes && lf[-1] == '\r')
            return static_cast<size_t>(lf - bytes) + 1;
        p = lf + 1;
    }
    return 0;
}

LineSplitter::LineSplitter(size_t maxPiece) : m_maxPiece(maxPiece > 0 ? maxPiece : 1)
{
}

bool LineSplitter::Feed(const char* data, size_t count, CPJStringList& lines)
{
    size_t pos = 0;
    while (pos < count) {
        if (!m_pending.empty()) {
            // Finish the line an earlier block began.
            size_t limit = std::min(count - pos, m_maxPiece - m_pending.size());
            size_t end = FindLineEnd(data + pos, limit, m_pending.back() == '\r');
            size_t take = end > 0 ? end : limit;
            m_pending.append(data + pos, take);
            pos += take;
            if ((end > 0 || m_pending.size() == m_maxPiece) && !Flush(lines))
                return false;
            continue;
        }
        // Lines wholly inside the block go to the list without a copy in between.
        size_t limit = std::min(count - pos, m_maxPiece);
        size_t end = FindLineEnd(data + pos, limit, false);
        size_t take = end > 0 ? end : limit;
        if (end > 0 || limit == m_maxPiece) {
            if (!lines.AddString(data + pos, static_cast<int>(take)))
                return false;
        } else {
            m_pending.assign(data + pos, take);
        }
        pos += take;
    }
    return true;
}

bool LineSplitter::Flush(CPJStringList& lines)
{
    if (m_pending.empty())
        return true;
    bool kept = lines.AddString(m_pending.data(), static_cast<int>(m_pending.size())) != 0;
    m_pending.clear();
    return kept;
}
