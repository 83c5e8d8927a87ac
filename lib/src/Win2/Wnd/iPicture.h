// A picture loaded through OLE picture loading (GIF, JPEG, BMP, icons, metafiles) from a
// resource, a file or a global memory block, measured in HIMETRIC units (0.01 mm) and
// drawn at its natural size in pixels. Owns one reference to the OLE picture.
#pragma once

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

class iPicture {
public:
    // A null module is the program's own; a null type is RT_RCDATA.
    iPicture(HMODULE module, LPCSTR resourceName, LPCSTR resourceType);
    explicit iPicture(LPCSTR fileName);
    virtual ~iPicture();
    iPicture(const iPicture&) = delete;
    iPicture& operator=(const iPicture&) = delete;

    // A picture that could not be found, read or decoded leaves the object empty.
    [[nodiscard]] BOOL LoadFromResource(HMODULE module, LPCSTR resourceName, LPCSTR resourceType);
    [[nodiscard]] BOOL LoadFromFile(LPCSTR fileName);
    // Takes the block over and frees it exactly once, whatever happens; a null block
    // answers FALSE. A picture held before is released.
    [[nodiscard]] BOOL LoadFromMemory(HGLOBAL block, DWORD size);

    BOOL IsValid() const { return m_picture != nullptr; }
    // The extent in HIMETRIC units; only for a valid picture.
    long GetWidth() const;
    long GetHeight() const;
    // The extent in pixels of dc (LOGPIXELSX and LOGPIXELSY).
    SIZE GetSizeInPixels(HDC dc) const;
    // Draws the picture at dc's (0, 0) at its natural size; FALSE without a picture.
    [[nodiscard]] BOOL Render(HDC dc) const;

    // Where the loaders get their global blocks from; a test swaps in one that fails.
    typedef HGLOBAL(WINAPI* GlobalAllocFunction)(UINT flags, SIZE_T bytes);
    // Answers the allocator used before.
    static GlobalAllocFunction SetGlobalAlloc(GlobalAllocFunction allocate);

private:
    IPicture* m_picture = nullptr;
};
