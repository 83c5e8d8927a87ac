// The file binding's life: construction, open, close, recreate, detaching from a deleted
// engine, the record area's size, and the checks every record operation starts with.
#include "database/mGroveFile.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "database/iDBLock.h"
#include "database/mGrovePlus.h"
#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgInstance.h"

namespace {

int WidenCode(uint16_t code)
{
    return int16_t(code);
}

// The engine's open mode for the open flags; the host adds kMgModeHost.
uint16_t OpenMode(int flags)
{
    if (flags & kGroveReadOnly)
        return kMgModeReadOnly | kMgModePermanent;
    if (flags & kGroveNotShared)
        return kMgModePermanent;
    return kMgModeShared | kMgModePermanent;
}

uint32_t OpenSequenceOf(int number)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx || !ctx->files || number < 0 || number >= ctx->fileSlots || !ctx->files[number])
        return 0;
    return ctx->files[number]->openSequence;
}

} // namespace

mGroveFile::mGroveFile(mGrovePlus* engine, const char* reserved, const char* name, int flags,
                       unsigned recordLength)
    : iDBFile(engine), m_engineBinding(engine)
{
    ScopedDatabaseLock lock;
    m_flags = flags;
    mGroveFile::Open(reserved, name, flags, recordLength);
}

mGroveFile::mGroveFile(const mGroveFile& other) : iDBFile(other.m_engineBinding), m_engineBinding(other.m_engineBinding)
{
    ScopedDatabaseLock lock;
    m_flags = other.m_flags;
    std::string name = other.m_name;
    mGroveFile::Open(nullptr, name.c_str(), other.m_flags, other.m_callerLength);
}

mGroveFile::~mGroveFile()
{
    ScopedDatabaseLock lock;
    // Files are closed only in this object's own instance; a detached object, or one whose
    // instance is gone, frees only its own memory.
    if (m_engineBinding && m_open && m_engineBinding->MakeCurrent() == 0)
        CloseFiles();
}

int mGroveFile::Open(const char*, const char* name, int flags, unsigned recordLength)
{
    ScopedDatabaseLock lock;
    if (!m_engineBinding)
        return -1;
    if (int refused = m_engineBinding->MakeCurrent())
        return refused;
    // One set at a time: a second open would lose the first one's files.
    if (m_open || !name || strlen(name) > kLongestSetPath)
        return -1;
    m_flags = flags;
    uint16_t mode = OpenMode(flags);
    mgInstanceContext* ctx = mgCtx();
    // The host and, right after it, its member directory.
    int host = mgFindFreeFileNumbers(2);
    if (host < 0)
        return ctx && ctx->uerr_cod ? WidenCode(ctx->uerr_cod) : -1;
    strcpy(m_name, name);
    if (uint16_t error = mgOpenFile(host, name, uint16_t(mode | kMgModeHost)))
        return WidenCode(error);
    m_instance = ctx;
    m_hostNumber = host;
    m_hostSequence = OpenSequenceOf(host);

    // Whatever fails from here closes what this call opened, so that no file stays open
    // under numbers nobody will close.
    auto fail = [this](int error) {
        CloseFiles();
        FreeBuffers();
        return error;
    };
    std::string member = std::string(name) + "!data.dat";
    int data = mgOpenFileSetFromResource(-1, member.c_str(), mode);
    if (data < 0)
        return fail(IsamCode());
    m_dataNumber = data;
    m_dataSequence = OpenSequenceOf(data);
    uint32_t size = mgGetDefinitionResource(uint16_t(data), 0, nullptr);
    if (size == 0)
        return fail(IsamCode());
    // The engine reports the definition's in-memory size (with real pointers).
    m_definitionBuffer.reset(new uint64_t[size / 8 + 1]());
    if (mgGetDefinitionResource(uint16_t(data), size, m_definitionBuffer.get()) == 0)
        return fail(IsamCode());
    m_definition = reinterpret_cast<mgFileDef*>(m_definitionBuffer.get());
    if (m_definition->indexCount < 0 || m_definition->indexCount > kMgMaxIndexes ||
        (!IsVariable() && m_definition->recordLength < 1))
        return fail(WidenCode(kMgBadDefinition));

    m_keyCount = m_definition->indexCount;
    m_keyNumbers.reset(new int[size_t(m_keyCount) + 1]);
    m_longestKey = 1;
    for (int i = 0; i < m_keyCount; ++i) {
        m_keyNumbers[i] = data + 1 + i;
        m_longestKey = std::max(m_longestKey, int(m_definition->indexes[i].keyLength));
    }
    m_currentKey = 0;
    m_open = 1;
    unsigned stored = GetRecordLength();
    SizeRecordArea(std::max(recordLength, stored));
    m_callerLength = recordLength ? recordLength : stored;
    m_secondKey.reset(new uint8_t[size_t(m_longestKey)]());
    return 0;
}

int mGroveFile::Close()
{
    ScopedDatabaseLock lock;
    FreeBuffers();
    if (!m_engineBinding || m_hostNumber < 0 || m_dataNumber < 0) {
        m_open = 0;
        return -1;
    }
    int result = 0;
    if (m_open) {
        result = m_engineBinding->MakeCurrent();
        if (result == 0)
            result = CloseFiles();
    }
    // Closed or not, the numbers are no longer this object's to use.
    m_hostNumber = -1;
    m_dataNumber = -1;
    m_open = 0;
    return result;
}

int mGroveFile::CloseFiles()
{
    int result = 0;
    bool dataOurs = m_dataNumber >= 0 && StillOurs(m_dataNumber, m_dataSequence);
    bool hostOurs = m_hostNumber >= 0 && StillOurs(m_hostNumber, m_hostSequence);
    // Both are closed and forgotten even when the first close fails: a host left open
    // would keep its file locked and its numbers taken for the rest of the run.
    if (dataOurs)
        result = WidenCode(mgCloseFileSetByNumber(uint16_t(m_dataNumber)));
    if (hostOurs) {
        int error = WidenCode(mgCloseFile(m_hostNumber, 0));
        if (result == 0)
            result = error;
    }
    if (result == 0 && m_open && (!dataOurs || !hostOurs))
        result = WidenCode(kMgFileNotOpen);
    m_hostNumber = -1;
    m_dataNumber = -1;
    m_instance = nullptr;
    m_open = 0;
    return result;
}

int mGroveFile::Recreate()
{
    ScopedDatabaseLock lock;
    if (int refused = Enter())
        return refused;
    uint16_t data = uint16_t(m_dataNumber);
    uint32_t size = mgGetDefinitionResource(data, 0, nullptr);
    if (size == 0)
        return IsamCode();
    std::unique_ptr<uint64_t[]> buffer(new uint64_t[size / 8 + 1]());
    if (mgGetDefinitionResource(data, size, buffer.get()) == 0)
        return IsamCode();
    std::string name = m_name;
    unsigned callerLength = m_callerLength;
    FreeBuffers();
    if (int error = CloseFiles())
        return error;
    DeleteFileA(name.c_str());
    if (int error = m_engineBinding->CreateFiles(reinterpret_cast<mgFileDef*>(buffer.get()), name.c_str()))
        return error;
    buffer.reset();
    return Open(nullptr, name.c_str(), m_flags, callerLength);
}

void mGroveFile::Detach(bool closeFiles)
{
    ScopedDatabaseLock lock;
    if (closeFiles && m_open)
        CloseFiles();
    FreeBuffers();
    m_hostNumber = -1;
    m_dataNumber = -1;
    m_open = 0;
    m_instance = nullptr;
    m_engineBinding = nullptr;
}

int mGroveFile::Enter()
{
    if (!m_engineBinding || !m_open)
        return -1;
    if (int refused = m_engineBinding->MakeCurrent())
        return refused;
    if (!StillOurs(m_hostNumber, m_hostSequence) || !StillOurs(m_dataNumber, m_dataSequence))
        return WidenCode(kMgFileNotOpen);
    return 0;
}

bool mGroveFile::StillOurs(int number, uint32_t sequence) const
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx || ctx != m_instance || !ctx->started || !ctx->files || number < 0 || number >= ctx->fileSlots)
        return false;
    const mgFileControl* f = ctx->files[number];
    return f && (f->status == 'y' || f->status == 'v') && f->openSequence == sequence;
}

void mGroveFile::FreeBuffers()
{
    m_secondKey.reset();
    m_keyBuffer.reset();
    m_recordArea.reset();
    m_keyNumbers.reset();
    m_definitionBuffer.reset();
    m_definition = nullptr;
    m_userArea = nullptr;
    m_areaSize = 0;
    m_keyCount = 0;
}

bool mGroveFile::IsVariable() const
{
    return m_definition && (m_definition->dataMode & kMgModeVariable) != 0;
}

void mGroveFile::SizeRecordArea(unsigned userLength)
{
    unsigned lead = IsVariable() ? 0 : 1;
    m_userLength = userLength;
    // Never shorter than the stored record: the engine reads and writes all of it.
    m_areaSize = std::max<size_t>(size_t(userLength) + lead, m_definition->recordLength);
    m_recordArea.reset(new uint8_t[m_areaSize]());
    m_keyBuffer.reset(new uint8_t[std::max<size_t>(m_areaSize, size_t(m_longestKey))]());
    m_userArea = m_recordArea.get() + lead;
}

void* mGroveFile::SetRecordLength(unsigned length)
{
    ScopedDatabaseLock lock;
    if (!m_open || !m_definition)
        return nullptr;
    if (length != 0)
        m_callerLength = length;
    if (m_recordArea && (length == 0 || length == GetRecordLength()))
        return m_userArea;
    SizeRecordArea(length);
    return m_userArea;
}

const char* mGroveFile::GetName()
{
    return m_name;
}

int mGroveFile::IsOpen()
{
    ScopedDatabaseLock lock;
    return Enter() == 0 ? 1 : 0;
}

int mGroveFile::GetKeyCount()
{
    ScopedDatabaseLock lock;
    return m_definition ? m_keyCount : -1;
}

unsigned mGroveFile::GetRecordLength()
{
    ScopedDatabaseLock lock;
    if (!m_definition)
        return unsigned(-1);
    return IsVariable() ? m_definition->recordLength : m_definition->recordLength - 1u;
}

iDBFile* mGroveFile::Clone()
{
    ScopedDatabaseLock lock;
    if (!m_engineBinding || m_engineBinding->MakeCurrent() != 0)
        return nullptr;
    std::string name = m_name;
    return new mGroveFile(m_engineBinding, nullptr, name.c_str(), m_flags, m_callerLength);
}

int mGroveFile::Flush()
{
    ScopedDatabaseLock lock;
    if (!m_engineBinding)
        return -1;
    if (Enter() == 0)
        mgFlushFile(uint16_t(m_hostNumber));
    return 0;
}

int mGroveFile::IsamCode() const
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx || ctx->isam_code == 0)
        return -1;
    return WidenCode(ctx->isam_code);
}
