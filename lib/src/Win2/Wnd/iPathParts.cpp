// Splitting a path into its parts, each copy bounded by its field.
#include "iPathParts.h"

#include <algorithm>
#include <cstring>

namespace {

[[nodiscard]] bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// Copies text[begin, end) into field, cut to the field's room before its terminating zero.
template <size_t N>
void CopyPart(char (&field)[N], const char* text, int begin, int end)
{
    if (end <= begin)
        return;
    size_t length = std::min(static_cast<size_t>(end - begin), N - 1);
    std::memcpy(field, text + begin, length);
    field[length] = '\0';
}

} // namespace

void iPathParts::Fill(const char* path)
{
    *this = iPathParts();
    if (!path)
        return;
    CopyPart(m_fullPath, path, 0, static_cast<int>(strnlen(path, kPathSize - 1)));
    const char* full = m_fullPath;
    const int length = static_cast<int>(std::strlen(full));
    if (length == 0)
        return;

    // A colon before the last character marks a drive; the rest is scanned after it.
    int colon = -1;
    for (int i = 0; i < length - 1; ++i) {
        if (full[i] == ':') {
            colon = i;
            break;
        }
    }
    const int scanStart = colon + 1;

    // From the end: a dot before any separator starts the extension.
    int dot = -1;
    int nameStart = scanStart;
    for (int i = length - 1; i >= scanStart; --i) {
        if (IsSeparator(full[i])) {
            nameStart = i + 1;
            break;
        }
        if (full[i] == '.') {
            dot = i;
            for (int j = i - 1; j >= scanStart; --j) {
                if (IsSeparator(full[j])) {
                    nameStart = j + 1;
                    break;
                }
            }
            break;
        }
    }

    if (colon >= 0)
        CopyPart(m_drive, full, 0, colon);
    if (dot >= 0) {
        CopyPart(m_extension, full, dot + 1, length);
        CopyPart(m_name, full, nameStart, dot);
    } else {
        CopyPart(m_name, full, nameStart, length);
    }

    // Past the scan start the name always follows a separator.
    const int separator = nameStart - 1;
    const bool isRoot = nameStart > scanStart && separator == scanStart;
    if (nameStart > scanStart)
        CopyPart(m_directory, full, scanStart, isRoot ? scanStart + 1 : separator);
    if (nameStart > 0) {
        // The root keeps its separator (C:\), any other folder loses it; a drive-relative
        // name (C:prog.exe) has no separator to lose.
        const bool dropSeparator = nameStart > scanStart && !isRoot;
        CopyPart(m_folder, full, 0, dropSeparator ? separator : nameStart);
    }
}
