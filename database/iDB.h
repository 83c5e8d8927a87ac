// The database as the program sees it: iDBEngine, a started engine where file sets are
// created and transactions run, and iDBFile, one open file set through which typed records
// are added, rewritten, deleted, found by key, walked and counted. mGrovePlus and mGroveFile
// implement them over the ISAM engine.
// Results: 0 for success, otherwise the engine's code widened with its sign, or -1 where
// the binding refuses by itself; percentages are in hundredths of a percent (0 the first
// key, 10000 the last). A key argument is a key number 0..n-1 in the record's key order;
// -1 stands for the current key where an operation says so.
#pragma once

class iDBFile;
struct iDBDefinition;

// Knows the file objects over it (a list it does not own). Its destructor detaches the
// ones still registered, so that they never reach the deleted engine.
class iDBEngine {
public:
    iDBEngine();
    iDBEngine(const iDBEngine&) = delete;
    iDBEngine& operator=(const iDBEngine&) = delete;
    virtual ~iDBEngine();

    // 1 when the engine instance started.
    virtual int IsOK();
    virtual int CreateFileSet(iDBDefinition* definition, const char* path, int keepExisting) = 0;
    virtual int RecreateFileSet(iDBFile* file, const char* path, int keepExisting, int reserved,
                                int extensionSize) = 0;
    // The base answers -1 and does nothing.
    virtual int BeginTransaction(int mode);
    virtual int CommitTransaction();
    virtual int AbortTransaction();

    void SetStatus(int status);
    // Appends the file at the tail of the list.
    void AddFile(iDBFile* file);
    // Unlinks the file; a null file or one not in the list changes nothing.
    void RemoveFile(iDBFile* file);

protected:
    iDBFile* GetFirstFile() const { return m_firstFile; }

private:
    int m_status = 0;
    iDBFile* m_firstFile = nullptr;
    iDBFile* m_lastFile = nullptr;
};

// Registers itself with its engine at construction and unregisters at destruction.
class iDBFile {
public:
    explicit iDBFile(iDBEngine* engine);
    // Over the engine the other file answers.
    iDBFile(iDBFile& other);
    iDBFile& operator=(const iDBFile&) = delete;

    // Null once the engine was deleted under the file.
    virtual iDBEngine* GetEngine();
    virtual ~iDBFile();
    virtual iDBFile* GetPrev();
    virtual iDBFile* GetNext();

    virtual int Open(const char* reserved, const char* name, int flags, unsigned recordLength) = 0;
    virtual int Close() = 0;
    // Empties the set: made again from its own stored definition, then opened.
    virtual int Recreate() = 0;
    virtual const char* GetName() = 0;
    virtual int IsOpen() = 0;
    virtual int Add(void* record, unsigned length) = 0;
    virtual int Rewrite(void* record, unsigned length) = 0;
    virtual int Delete() = 0;
    virtual int FindEqual(void* record, int key) = 0;
    virtual int Next(void* record) = 0;
    virtual int Previous(void* record) = 0;
    virtual int FindGreater(void* record, int key) = 0;
    virtual int FindGreaterOrEqual(void* record, int key) = 0;
    virtual int FindLess(void* record, int key) = 0;
    // With duplicates: the last of the records whose key equals the record's.
    virtual int FindLessOrEqual(void* record, int key) = 0;
    virtual int First(void* record, int key) = 0;
    virtual int Last(void* record, int key) = 0;
    // Byte position of the current record, 0 when none.
    virtual long GetPosition() = 0;
    virtual int GetPosition(long* position) = 0;
    // Reads the record at a position; with a key, that key's current value follows it.
    virtual int ReadAt(long position, void* record, int key) = 0;
    virtual int ReadAt(long position, void* record) = 0;
    // Where the current record lies in a key's order; the current record stays.
    virtual int GetPercent(long* percent, int key) = 0;
    virtual int GetPercent(long* percent) = 0;
    // Reads the record at a percentage of a key's order, in whole-percent steps.
    virtual int SeekPercent(long percent, void* record, int key) = 0;
    virtual int SeekPercent(long percent, void* record) = 0;
    virtual int NextPhysical(void* record) = 0;
    virtual int PreviousPhysical(void* record) = 0;
    virtual int FirstPhysical(void* record) = 0;
    virtual int LastPhysical(void* record) = 0;
    virtual int GetKey() = 0;
    // Answers the previous current key; unless noResync is set, the file is positioned on
    // the new key at the current record.
    virtual int SetKey(int key, int noResync) = 0;
    // -1 on failure.
    virtual long GetRecordCount() = 0;
    // -1 when no definition is loaded.
    virtual int GetKeyCount() = 0;
    // Entries of a key; key -1 answers the record count.
    virtual long GetKeyEntryCount(int key) = 0;
    // The stored record length as the caller sees it; (unsigned)-1 without a definition.
    virtual unsigned GetRecordLength() = 0;
    // The caller's record length; answers the engine-side record area (null when not open).
    virtual void* SetRecordLength(unsigned length) = 0;
    // A new file object opened on the same set.
    virtual iDBFile* Clone() = 0;
    virtual int Flush() = 0;
    // Keys from the first record's to the second's.
    virtual long CountRange(void* fromRecord, void* toRecord, int key) = 0;

    // When 0, Add and Rewrite leave the record current that was current before them.
    int GetKeepPosition() const { return m_keepPosition; }
    void SetKeepPosition(int keep) { m_keepPosition = keep; }

protected:
    int m_keepPosition = 1;

private:
    friend class iDBEngine;

    iDBEngine* m_engine;
    iDBFile* m_prev = nullptr;
    iDBFile* m_next = nullptr;
};
