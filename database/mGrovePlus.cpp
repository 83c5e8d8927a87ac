// The engine binding: starting and stopping an engine instance, switching to it, creating
// file sets as superfiles and forwarding transactions.
// Kept true at every step: the binding's last-current context is the engine's current
// instance whenever the binding made it so, and never names an instance that is gone.
#include "database/mGrovePlus.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "database/iDBDefinition.h"
#include "database/iDBLock.h"
#include "database/mGroveFile.h"
#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgInstance.h"
#include "database/mgLock.h"
#include "database/mgResource.h"
#include "lib/src/Win2/Wnd/iFileExists.h"

namespace {

// The context the binding last made current, shared by every mGrovePlus.
mgInstanceContext* g_lastCurrent = nullptr;

// The engine starts whichever instance is current, so the default instance is made
// current (or registered) first; the engine registers it by itself when there is none.
void SelectDefaultInstance()
{
    if (mgGetInstanceContext(kMgDefaultInstance))
        mgSwitchInstance(kMgDefaultInstance);
    else if (mgCurrentInstanceId())
        mgRegisterInstance(kMgDefaultInstance);
}

int Widen(uint16_t code)
{
    return int16_t(code);
}

void DeleteExisting(const char* path, int keepExisting)
{
    if (!keepExisting && FileExists(path))
        DeleteFileA(path);
}

// Points a definition's names at a set's member names for the engine's create, and puts
// the caller's names back afterwards.
class MemberNames {
public:
    MemberNames(mgFileDef* definition, const char* path) : m_definition(definition)
    {
        m_data = std::string(path) + "!data";
        m_savedName = definition->name;
        definition->name = &m_data[0];
        for (int i = 0; i < definition->indexCount; ++i) {
            char digits[8];
            snprintf(digits, sizeof digits, "!%03d", i);
            m_members.push_back(std::string(path) + digits);
        }
        for (int i = 0; i < definition->indexCount; ++i) {
            m_savedMembers.push_back(definition->indexes[i].memberName);
            definition->indexes[i].memberName = &m_members[size_t(i)][0];
        }
    }
    ~MemberNames()
    {
        m_definition->name = m_savedName;
        for (int i = 0; i < m_definition->indexCount; ++i)
            m_definition->indexes[i].memberName = m_savedMembers[size_t(i)];
    }
    MemberNames(const MemberNames&) = delete;
    MemberNames& operator=(const MemberNames&) = delete;

private:
    mgFileDef* m_definition;
    std::string m_data;
    std::vector<std::string> m_members;
    char* m_savedName;
    std::vector<char*> m_savedMembers;
};

} // namespace

mGrovePlus::mGrovePlus(int buffers, int files, int sectors)
{
    ScopedDatabaseLock lock;
    SelectDefaultInstance();
    Start(mgInitIsam(buffers, files, sectors));
}

mGrovePlus::mGrovePlus(int reserved1, int reserved2, int reserved3, int profile, int buffers, int files,
                       int sectors, int dataBuffers)
    : m_profile(profile | 1)
{
    ScopedDatabaseLock lock;
    SelectDefaultInstance();
    Start(mgInitIsamEx(buffers, files, sectors, dataBuffers, m_profile, reserved1, reserved2, reserved3));
}

mGrovePlus::mGrovePlus(const char* name, int buffers, int files, int sectors) : m_profile(65)
{
    ScopedDatabaseLock lock;
    StartNamed(name);
    if (m_context)
        Start(mgInitIsamEx(buffers, files, sectors, buffers, m_profile, 0, 0, 0));
}

mGrovePlus::mGrovePlus(const char* name, int reserved1, int reserved2, int reserved3, int profile, int buffers,
                       int files, int sectors, int dataBuffers)
    : m_profile(profile | 1)
{
    ScopedDatabaseLock lock;
    StartNamed(name);
    if (m_context)
        Start(mgInitIsamEx(buffers, files, sectors, dataBuffers, m_profile, reserved1, reserved2, reserved3));
}

void mGrovePlus::StartNamed(const char* name)
{
    m_instanceName = new char[strlen(name ? name : "") + 1];
    strcpy(m_instanceName, name ? name : "");
    // A name already registered belongs to another engine: this one gets no instance
    // (and so never starts, stops or unregisters another's), and answers -1 throughout.
    if (mgRegisterInstance(m_instanceName) != 0)
        return;
    m_context = mgGetInstanceContext(m_instanceName);
    m_ownsInstance = m_context != nullptr;
    g_lastCurrent = m_context;
}

void mGrovePlus::Start(int startAnswer)
{
    SetStatus(startAnswer == 0 ? 1 : 0);
    if (m_instanceName)
        return;
    m_context = mgGetInstanceContext(kMgDefaultInstance);
    g_lastCurrent = mgCtx();
    // Started here: this engine stops it. Already started by another engine: shared, and
    // left to that one.
    m_ownsInstance = startAnswer == 0 || (m_context && !m_context->started);
}

mGrovePlus::~mGrovePlus()
{
    ScopedDatabaseLock lock;
    bool current = MakeCurrent() == 0;
    // File objects still over this engine close their files while the instance runs and
    // forget it; the program deletes them first, so this is for a caller that did not.
    for (iDBFile* file = GetFirstFile(); file; file = file->GetNext()) {
        if (auto* grove = dynamic_cast<mGroveFile*>(file))
            grove->Detach(current);
    }
    if (current && m_ownsInstance) {
        mgStopIsam();
        // Stopping unregisters a started default instance by itself; a named one, or a
        // default one that never started, goes here.
        const char* name = m_instanceName ? m_instanceName : kMgDefaultInstance;
        if (mgGetInstanceContext(name) == m_context)
            mgUnregisterInstance(name);
        if (g_lastCurrent == m_context)
            g_lastCurrent = nullptr;
    }
    delete[] m_instanceName;
}

int mGrovePlus::MakeCurrent()
{
    ScopedDatabaseLock lock;
    if (!m_context)
        return -1;
    if (m_context == g_lastCurrent && m_context == mgCurrentInstance)
        return 0;
    uint16_t answer = mgSwitchInstance(m_instanceName ? m_instanceName : kMgDefaultInstance);
    if (answer != 0)
        return Widen(answer);
    // The name may have been given again to a new instance after this one's went.
    if (mgCurrentInstance != m_context)
        return Widen(kMgNoSuchInstance);
    g_lastCurrent = m_context;
    return 0;
}

int mGrovePlus::IsamCode() const
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx || ctx->isam_code == 0)
        return -1;
    return Widen(ctx->isam_code);
}

int mGrovePlus::CreateFileSet(iDBDefinition* definition, const char* path, int keepExisting)
{
    ScopedDatabaseLock lock;
    if (int refused = MakeCurrent())
        return refused;
    if (!definition || !path || strlen(path) > kLongestSetPath)
        return -1;
    mgFileDef* engineDefinition = BuildEngineFileDef(definition, path);
    if (!engineDefinition)
        return -1;
    DeleteExisting(path, keepExisting);
    int result = CreateFiles(engineDefinition, path);
    FreeEngineFileDef(engineDefinition);
    return result;
}

int mGrovePlus::RecreateFileSet(iDBFile* file, const char* path, int keepExisting, int, int extensionSize)
{
    ScopedDatabaseLock lock;
    if (int refused = MakeCurrent())
        return refused;
    auto* grove = dynamic_cast<mGroveFile*>(file);
    // The file's numbers mean something only in this engine's instance.
    if (!grove || grove->GetEngine() != this || !grove->IsOpen() || !path || strlen(path) > kLongestSetPath)
        return -1;
    uint16_t data = uint16_t(grove->m_dataNumber);
    uint32_t size = mgGetDefinitionResource(data, 0, nullptr);
    if (size == 0)
        return IsamCode();
    // The engine reports the in-memory size (real pointers); 8-byte aligned for them.
    std::unique_ptr<uint64_t[]> buffer(new uint64_t[size / 8 + 1]());
    if (mgGetDefinitionResource(data, size, buffer.get()) == 0)
        return IsamCode();
    auto* definition = reinterpret_cast<mgFileDef*>(buffer.get());
    DeleteExisting(path, keepExisting);
    if (extensionSize != 0) {
        definition->dataExtension = uint16_t(extensionSize);
        definition->indexExtension = uint16_t(extensionSize);
    }
    return CreateFiles(definition, path);
}

int mGrovePlus::CreateFiles(mgFileDef* definition, const char* path)
{
    ScopedDatabaseLock lock;
    if (int refused = MakeCurrent())
        return refused;
    if (!definition || !path || strlen(path) > kLongestSetPath || definition->indexCount < 0 ||
        definition->indexCount > kMgMaxIndexes)
        return -1;
    // The host and, right after it, the member directory the engine makes with every host.
    int host = mgFindFreeFileNumbers(2);
    if (host < 0)
        return m_context->uerr_cod ? Widen(m_context->uerr_cod) : -1;
    if (uint16_t error = mgCreateDataFile(host, path, 0, 0, kMgModeHost | kMgModePermanent))
        return Widen(error);
    MemberNames names(definition, path);
    if (int16_t error = mgCreateFileSet(definition)) {
        mgCloseFile(host, 0);
        return error;
    }
    const uint8_t attributes[2] = {0, 0};
    int dataFile = definition->setFileNumber;
    mgSetFileHeaderBytes(dataFile, attributes);
    for (int i = 0; i < definition->indexCount; ++i)
        mgSetFileHeaderBytes(dataFile + 1 + i, attributes);
    if (uint16_t error = mgCloseFileSet(definition)) {
        mgCloseFile(host, 0);
        return Widen(error);
    }
    return Widen(mgCloseFile(host, 0));
}

int mGrovePlus::BeginTransaction(int)
{
    ScopedDatabaseLock lock;
    return mgBeginTransaction(48) == 1 ? 1 : 0;
}

int mGrovePlus::CommitTransaction()
{
    ScopedDatabaseLock lock;
    return mgCommitTransaction(0);
}

int mGrovePlus::AbortTransaction()
{
    ScopedDatabaseLock lock;
    return mgAbortTransaction();
}
