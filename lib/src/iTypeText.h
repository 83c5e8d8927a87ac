// Text fields: a text of a declared width stored zero-padded in that many bytes,
// as records and fixed-size settings keep it, with a default text that Clear
// restores and four comparison modes; and a row of such cells over one buffer.
// A text that fills its width has no terminating zero in the value, so every
// read of the value is bounded by the byte size.
#pragma once

#include "iTypeCollection.h"

#include <memory>

namespace iType {

class String : public Base {
public:
    // Comparison modes.
    static constexpr int kCaseSensitive = 0;
    static constexpr int kCaseInsensitive = 1;
    static constexpr int kFromEnd = 2;
    static constexpr int kFromEndCaseInsensitive = 3;

    // No storage, width 0.
    String();
    explicit String(int length);
    String(Collection* parent, const char* name, const char* description, int length);
    String(Collection* parent, void* data, const char* name, const char* description, int length);
    String(Collection* parent, void* data, int length, const char* name, const char* description);
    String(Collection* parent, void* base, int offset, const char* name, const char* description, int length);
    String(Collection* parent, void* base, int offset, int length, const char* name, const char* description);
    String(void* data, int length, const char* name, const char* description);
    String(void* base, int offset, int length, const char* name, const char* description);
    ~String() override;

    // Every byte 0, then as much of the default text as fits.
    void Clear() override;
    const char* GetText() const override;
    // The base attributes, the width and the default text.
    void Assign(const Base& other) override;
    Base* Create() const override;
    int IsValid() const override;
    // Copied with zero fill, cut to the byte size.
    int SetText(const char* text) override;
    int CompareTo(const Base& other) const override;
    // Every byte 0.
    int SetMinimum() override;
    // Every byte 127.
    int SetMaximum() override;

    // Clear, then text (when not null) as SetText copies it.
    String& SetString(const char* text);
    // Every byte 0, then at most n characters of text, stopping at its end.
    void SetTextN(const char* text, unsigned n);
    // The text that Clear puts into the value: at most n characters of text (n 0:
    // all of it). An equal text keeps the present copy; null removes the default.
    void SetDefaultText(const char* text, unsigned n = 0);
    const char* GetDefaultText() const { return m_defaultText.get(); }
    unsigned GetDefaultLength() const { return m_defaultLength; }
    // The value, within the width, against text bounded by n (n 0: its length), ignoring case.
    int CompareNoCase(const char* text, unsigned n) const;

    int GetWidth() const { return m_width; }
    int GetCompareMode() const { return m_compareMode; }
    void SetCompareMode(int mode) { m_compareMode = mode; }

private:
    void Init(int length);
    // Characters of the value that may be read: the width within the byte size.
    unsigned ReadableLength() const;

    int m_width = 0;
    int m_compareMode = kCaseSensitive;
    std::unique_ptr<char[]> m_defaultText;
    unsigned m_defaultLength = 0;
};

// A row of equally wide text cells over one buffer, each a member of this
// collection. Owns its cells.
class StringArray : public Collection {
public:
    StringArray();
    StringArray(void* data, int count, int width, const char* name, const char* description);
    StringArray(void* base, int offset, int count, int width, const char* name, const char* description);
    StringArray(Collection* parent, void* data, int count, int width, const char* name, const char* description);
    StringArray(Collection* parent, void* base, int offset, int count, int width, const char* name,
                const char* description);
    ~StringArray() override;

    // An array cannot be made without a buffer: null.
    Base* Create() const override;

    int GetElementCount() const { return m_elementCount; }
    int GetWidth() const { return m_width; }
    String* GetCell(int i) const { return (i >= 0 && i < m_elementCount) ? m_cells[i] : nullptr; }

private:
    void Build(void* data);

    int m_elementCount = 0;
    int m_width = 0;
    std::unique_ptr<String*[]> m_cells;
};

} // namespace iType
