// The database interfaces' own behaviour: the engine's list of file objects over it, the
// base transaction answers, and a file's registration with its engine.
#include "database/iDB.h"

#include "database/iDBLock.h"

iDBEngine::iDBEngine() = default;

iDBEngine::~iDBEngine()
{
    // A file object still registered is unlinked and forgets the engine, so that its later
    // calls (its destructor included) never reach this deleted object.
    ScopedDatabaseLock lock;
    while (iDBFile* file = m_firstFile) {
        RemoveFile(file);
        file->m_engine = nullptr;
    }
}

int iDBEngine::IsOK()
{
    return m_status;
}

int iDBEngine::BeginTransaction(int)
{
    return -1;
}

int iDBEngine::CommitTransaction()
{
    return -1;
}

int iDBEngine::AbortTransaction()
{
    return -1;
}

void iDBEngine::SetStatus(int status)
{
    m_status = status;
}

void iDBEngine::AddFile(iDBFile* file)
{
    ScopedDatabaseLock lock;
    if (!file)
        return;
    file->m_prev = m_lastFile;
    file->m_next = nullptr;
    if (m_lastFile)
        m_lastFile->m_next = file;
    else
        m_firstFile = file;
    m_lastFile = file;
}

void iDBEngine::RemoveFile(iDBFile* file)
{
    ScopedDatabaseLock lock;
    if (!file)
        return;
    iDBFile* walk = m_firstFile;
    while (walk && walk != file)
        walk = walk->GetNext();
    if (!walk)
        return;
    if (file == m_firstFile)
        m_firstFile = file->m_next;
    else
        file->m_prev->m_next = file->m_next;
    if (file == m_lastFile)
        m_lastFile = file->m_prev;
    else
        file->m_next->m_prev = file->m_prev;
    file->m_prev = nullptr;
    file->m_next = nullptr;
}

iDBFile::iDBFile(iDBEngine* engine) : m_engine(engine)
{
    ScopedDatabaseLock lock;
    if (m_engine)
        m_engine->AddFile(this);
}

iDBFile::iDBFile(iDBFile& other) : iDBFile(other.GetEngine())
{
}

iDBEngine* iDBFile::GetEngine()
{
    return m_engine;
}

iDBFile::~iDBFile()
{
    ScopedDatabaseLock lock;
    if (m_engine)
        m_engine->RemoveFile(this);
}

iDBFile* iDBFile::GetPrev()
{
    return m_prev;
}

iDBFile* iDBFile::GetNext()
{
    return m_next;
}
