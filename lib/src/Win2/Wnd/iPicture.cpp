// Loading OLE pictures from resources, files and memory, and drawing them.
// Every global block is checked at its allocation and its lock: a picture that cannot be
// copied into memory is no picture, never a write through a null pointer.
#include "lib/src/Win2/Wnd/iPicture.h"

#include "lib/src/iFile.h"

#include <climits>
#include <cstring>

namespace {

iPicture::GlobalAllocFunction s_globalAlloc = &::GlobalAlloc;

// OLE's picture loader decodes GIF and JPEG through COM objects, so the thread needs COM
// for the load whether or not its owner started it; a thread that has it keeps it.
class ScopedComInit {
public:
    ScopedComInit() : m_mustUninitialize(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ScopedComInit()
    {
        if (m_mustUninitialize)
            ::CoUninitialize();
    }
    ScopedComInit(const ScopedComInit&) = delete;
    ScopedComInit& operator=(const ScopedComInit&) = delete;

private:
    bool m_mustUninitialize;
};

// A movable block of size bytes, filled by fill(locked memory); null when the block
// cannot be had or locked (a zero-sized movable block never locks) or fill fails.
template <class Fill>
HGLOBAL NewFilledBlock(DWORD size, Fill fill)
{
    HGLOBAL block = s_globalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return nullptr;
    void* memory = ::GlobalLock(block);
    const bool isFilled = memory && fill(memory);
    if (memory)
        ::GlobalUnlock(block);
    if (!isFilled) {
        ::GlobalFree(block);
        return nullptr;
    }
    return block;
}

} // namespace

iPicture::iPicture(HMODULE module, LPCSTR resourceName, LPCSTR resourceType)
{
    static_cast<void>(LoadFromResource(module, resourceName, resourceType));
}

iPicture::iPicture(LPCSTR fileName)
{
    static_cast<void>(LoadFromFile(fileName));
}

iPicture::~iPicture()
{
    if (m_picture)
        m_picture->Release();
}

iPicture::GlobalAllocFunction iPicture::SetGlobalAlloc(GlobalAllocFunction allocate)
{
    GlobalAllocFunction previous = s_globalAlloc;
    s_globalAlloc = allocate ? allocate : &::GlobalAlloc;
    return previous;
}

BOOL iPicture::LoadFromResource(HMODULE module, LPCSTR resourceName, LPCSTR resourceType)
{
    if (!module)
        module = ::GetModuleHandleA(nullptr);
    if (!resourceType)
        resourceType = reinterpret_cast<LPCSTR>(RT_RCDATA);
    HRSRC found = ::FindResourceA(module, resourceName, resourceType);
    if (!found)
        return FALSE;
    const DWORD size = ::SizeofResource(module, found);
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes)
        return FALSE;
    HGLOBAL block = NewFilledBlock(size, [&](void* memory) {
        std::memcpy(memory, bytes, size);
        return true;
    });
    return LoadFromMemory(block, size);
}

BOOL iPicture::LoadFromFile(LPCSTR fileName)
{
    iFile file(fileName, GENERIC_READ, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (!file.IsOpen())
        return FALSE;
    DWORD high = 0;
    const DWORD size = file.GetSize(&high);
    // OLE takes the size as a LONG: a larger file is no picture of ours.
    if (size == INVALID_FILE_SIZE || high != 0 || size > static_cast<DWORD>(LONG_MAX))
        return FALSE;
    HGLOBAL block = NewFilledBlock(size, [&](void* memory) {
        DWORD read = 0;
        return file.Read(memory, size, &read) && read == size;
    });
    return LoadFromMemory(block, size);
}

BOOL iPicture::LoadFromMemory(HGLOBAL block, DWORD size)
{
    if (!block)
        return FALSE;
    IStream* stream = nullptr;
    // The stream owns the block from here: releasing it frees the block.
    if (::CreateStreamOnHGlobal(block, TRUE, &stream) != S_OK || !stream) {
        if (stream)
            stream->Release();
        else
            ::GlobalFree(block);
        return FALSE;
    }
    if (m_picture) {
        m_picture->Release();
        m_picture = nullptr;
    }
    const ScopedComInit com;
    const HRESULT hr = ::OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(&m_picture));
    stream->Release();
    if (hr != S_OK && m_picture) {
        m_picture->Release();
        m_picture = nullptr;
    }
    return m_picture != nullptr;
}

long iPicture::GetWidth() const
{
    OLE_XSIZE_HIMETRIC width = 0;
    if (m_picture)
        m_picture->get_Width(&width);
    return width;
}

long iPicture::GetHeight() const
{
    OLE_YSIZE_HIMETRIC height = 0;
    if (m_picture)
        m_picture->get_Height(&height);
    return height;
}

SIZE iPicture::GetSizeInPixels(HDC dc) const
{
    return {::MulDiv(GetWidth(), ::GetDeviceCaps(dc, LOGPIXELSX), 2540),
            ::MulDiv(GetHeight(), ::GetDeviceCaps(dc, LOGPIXELSY), 2540)};
}

BOOL iPicture::Render(HDC dc) const
{
    if (!m_picture)
        return FALSE;
    const long width = GetWidth();
    const long height = GetHeight();
    const SIZE pixels = GetSizeInPixels(dc);
    // HIMETRIC runs upwards: the source starts at the bottom edge with a negative height.
    return m_picture->Render(dc, 0, 0, pixels.cx, pixels.cy, 0, height, width, -height, nullptr) == S_OK;
}
