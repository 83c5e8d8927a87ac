// Engine files: the 128-byte header that begins every file and member, the numbered
// control block of an open file, and create, open and close.
//
// On-disk header (all numbers little-endian; the control block keeps an exact image):
//   0x00 u32 physical_end      0x04 u32 delete_head      0x08 u32 logical_end
//   0x0c u32 resource_anchor   0x10 u32 member_counter   0x14 u32 serial_number
//   0x18 u32 entry_count       0x1c u32 root_node        0x20, 0x24 u32 reserved
//   0x28 u16 format_version    0x2a u16 node_size_code   0x2c u16 record_length
//   0x2e u16 extension_size    0x30 u16 file_mode        0x32 u16 create_mode
//   0x34 u16 leaf_limit        0x36 u16 node_limit       0x38 u8 update_flag
//   0x39 u8 key_flags          0x3a u8 duplicates        0x3b u8 kind byte
//   0x3c u8 pad_byte           0x3d u8[3] attribute bytes (2, 8, 4)
//   0x40 u16 file_kind         0x42 u16 key_length       0x44 u16 member_count
//   0x46 u16 member_number     0x48 u32 first_leaf       0x4c u32 member_id
//   0x50 u32 header_position   0x54 u32 directory_position  0x58 u32 reserved
//   0x5c u16 superfile_kind    0x5e u16 leaf_slots       0x60 u16 name_limit
//   0x62 u16 attribute_flags   0x64 u32 format_code      0x68 u32 reserved word
//   0x6c u32 write_count       0x70 u32 close_time       0x74 u32 recovery_mark
//   0x78, 0x7c u32 reserved
// Invariants: 1. a file with update_flag non-zero on disk was left in the middle of a
// change and is refused at open (14); 2. the flag is on disk, flushed, before the first
// byte of any change reaches the file; 3. every value of a header read from disk is checked
// before use (kinds, sizes, ends and positions against the file's real size).
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>

#include "database/mgBytes.h"
#include "database/mgContext.h"

struct mgExprList;

enum : int {
    kHdrPhysicalEnd = 0x00,
    kHdrDeleteHead = 0x04,
    kHdrLogicalEnd = 0x08,
    kHdrResourceAnchor = 0x0c,
    kHdrMemberCounter = 0x10,
    kHdrSerialNumber = 0x14,
    kHdrEntryCount = 0x18,
    kHdrRootNode = 0x1c,
    kHdrFormatVersion = 0x28,
    kHdrNodeSizeCode = 0x2a,
    kHdrRecordLength = 0x2c,
    kHdrExtensionSize = 0x2e,
    kHdrFileMode = 0x30,
    kHdrCreateMode = 0x32,
    kHdrLeafLimit = 0x34,
    kHdrNodeLimit = 0x36,
    kHdrUpdateFlag = 0x38,
    kHdrKeyFlags = 0x39,
    kHdrDuplicates = 0x3a,
    kHdrKindByte = 0x3b,
    kHdrPadByte = 0x3c,
    kHdrAttributeBytes = 0x3d,
    kHdrFileKind = 0x40,
    kHdrKeyLength = 0x42,
    kHdrMemberCount = 0x44,
    kHdrMemberNumber = 0x46,
    kHdrFirstLeaf = 0x48,
    kHdrMemberId = 0x4c,
    kHdrHeaderPosition = 0x50,
    kHdrDirectoryPosition = 0x54,
    kHdrSuperfileKind = 0x5c,
    kHdrLeafSlots = 0x5e,
    kHdrNameLimit = 0x60,
    kHdrAttributeFlags = 0x62,
    kHdrFormatCode = 0x64,
    kHdrReservedWord = 0x68,
    kHdrWriteCount = 0x6c,
    kHdrCloseTime = 0x70,
    kHdrRecoveryMark = 0x74,
};

constexpr int kMgHeaderSize = 128;
constexpr uint16_t kMgFormatVersion = 129;
constexpr uint32_t kMgFormatData = 559;
constexpr uint32_t kMgFormatIndex = 552;
constexpr uint8_t kMgUpdateChanged = 0xFF;
// A shared file one of whose handles failed in the middle of a change: no other handle's
// clean close clears it, so the next open refuses the file (14) like a file left mid-change.
constexpr uint8_t kMgUpdateFailed = 0xFE;
constexpr uint8_t kMgUpdateRefused = 'c';
constexpr uint8_t kMgUpdateRecovered = 'R';
// The region-lock area begins here: no file may grow into it.
constexpr uint32_t kMgLockAreaTop = 0xFFF7FFFF;

// File kinds and superfile kinds.
constexpr uint16_t kMgKindFixed = 0;
constexpr uint16_t kMgKindIndex = 1;
constexpr uint16_t kMgKindVariable = 2;
constexpr uint16_t kMgPlainFile = 0;
constexpr uint16_t kMgHost = 1;
constexpr uint16_t kMgMember = 2;
constexpr uint16_t kMgDirectory = 6;

// Mode bits.
constexpr uint16_t kMgModeShared = 0x0001;
constexpr uint16_t kMgModePermanent = 0x0002;
constexpr uint16_t kMgModeVariable = 0x0004;
constexpr uint16_t kMgModeReadOnly = 0x0008;
constexpr uint16_t kMgModeTransaction10 = 0x0010;
constexpr uint16_t kMgModeTransaction20 = 0x0020;
constexpr uint16_t kMgModeNoUpdateFlag = 0x0040;
constexpr uint16_t kMgModeLockedWrites = 0x0080;
constexpr uint16_t kMgModeImpliesPermanent = 0x0100;
constexpr uint16_t kMgModeHost = 0x0200;
constexpr uint16_t kMgModeNoAnchor = 0x0800;
constexpr uint16_t kMgModeHostByEngine = 0x1000;
constexpr uint16_t kMgModeIgnoreMirror = 0x2000;
constexpr uint16_t kMgModeForceOpen = 0x4000;

// Control-block flag bits.
constexpr uint32_t kMgPendingUpdate = 0x8000;
constexpr uint32_t kMgNoUpdateFlagDropped = 0x20000;
constexpr uint32_t kMgLockedTransfers = 0x10000000;
// A transfer of this file failed while it was being changed: its update flag stays set at
// close, so that the next open refuses the file (14) instead of trusting a half-made change.
constexpr uint32_t kMgSessionFailed = 0x20000000;

// An open file: one per file number of the instance.
struct mgFileControl {
    uint8_t header[kMgHeaderSize];
    uint32_t partialHeader;
    uint32_t reservedWord;
    uint32_t flags;
    bool headerLocked;
    // A shared file's session byte while this handle has changes under way (1 + its slot;
    // 0 none): see mgMarkUpdate.
    uint8_t sessionSlot;
    uint16_t mode;
    char status;
    bool permanent;
    bool newlyMade;
    int16_t fileNumber;
    uint32_t nodeSize;
    int sizeShift;
    int regionLocks;
    uint32_t openSequence;
    HANDLE handle;

    // Current record (data files) and key images (indexes: search, current, saved).
    uint32_t currentPosition;
    uint32_t savedPosition;
    uint8_t* keyImages;
    int keyImageLength;
    bool currentKeyValid;
    bool savedKeyValid;
    uint32_t searchNode;
    int32_t searchEntry;

    // Serial-number segment of a data file: offset + 1 (0 = none) and length.
    uint16_t serialOffset;
    uint16_t serialLength;

    mgFileControl* firstFile;
    mgFileControl* nextMember;
    mgFileControl* partner;
    mgFileControl* lruNext;
    mgFileControl* lruPrev;

    mgExprList* expressions;
    uint8_t* indexDefinition;
    uint8_t* dataDefinition;
    uint32_t dataDefinitionLength;

    char name[256];
};

inline uint32_t mgH32(const mgFileControl* f, int offset)
{
    return mgGet32(f->header + offset);
}
inline uint16_t mgH16(const mgFileControl* f, int offset)
{
    return mgGet16(f->header + offset);
}
inline void mgSetH32(mgFileControl* f, int offset, uint32_t value)
{
    mgPut32(f->header + offset, value);
}
inline void mgSetH16(mgFileControl* f, int offset, uint32_t value)
{
    mgPut16(f->header + offset, value);
}
inline uint16_t mgFileKind(const mgFileControl* f)
{
    return mgH16(f, kHdrFileKind);
}
inline uint16_t mgSuperfileKind(const mgFileControl* f)
{
    return mgH16(f, kHdrSuperfileKind);
}
inline bool mgIsIndex(const mgFileControl* f)
{
    return mgFileKind(f) == kMgKindIndex;
}
inline bool mgIsFixed(const mgFileControl* f)
{
    return mgFileKind(f) == kMgKindFixed;
}
inline bool mgIsVariable(const mgFileControl* f)
{
    return mgFileKind(f) == kMgKindVariable;
}
inline bool mgIsHost(const mgFileControl* f)
{
    return mgSuperfileKind(f) == kMgHost;
}
// A member inside a host: a plain member or a host's member directory.
inline bool mgIsMember(const mgFileControl* f)
{
    uint16_t kind = mgSuperfileKind(f);
    return kind == kMgMember || kind == kMgDirectory;
}
inline bool mgIsSuperfile(const mgFileControl* f)
{
    return mgSuperfileKind(f) != kMgPlainFile;
}
inline bool mgIsShared(const mgFileControl* f)
{
    return (f->mode & (kMgModeShared | kMgModeReadOnly)) != 0;
}
inline uint16_t mgRecordLength(const mgFileControl* f)
{
    return mgH16(f, kHdrRecordLength);
}
inline uint16_t mgKeyLength(const mgFileControl* f)
{
    return mgH16(f, kHdrKeyLength);
}
inline uint32_t mgHeaderPosition(const mgFileControl* f)
{
    return mgH32(f, kHdrHeaderPosition);
}
// The file whose handle and extent carry this file's bytes: the first file of an index
// group, and for a superfile member its host.
mgFileControl* mgPhysicalFile(mgFileControl* f);
// The file whose header holds an index's node bookkeeping (the first file of its group).
inline mgFileControl* mgGroupFirst(mgFileControl* f)
{
    return f->firstFile ? f->firstFile : f;
}
// The host of a superfile member (null for any other file).
mgFileControl* mgHostOf(mgFileControl* f);
// Size of the record header in front of every piece of a variable-length file or host.
inline int mgPieceHeaderSize(const mgFileControl* f)
{
    return mgIsSuperfile(f) ? 18 : 10;
}
// Header area of a fixed-length file: 128 rounded up to a whole record.
uint32_t mgFixedHeaderSize(const mgFileControl* f);
// First record position of a fixed-length file, and of a physical scan.
// The longest file name the engine keeps: its name fields hold 256 bytes. A longer name
// is refused (139) before anything is made or opened; cut, it would name another file.
constexpr size_t kMgLongestName = 255;
inline bool mgNameFits(const char* name, size_t longest = kMgLongestName)
{
    return strnlen(name, longest + 1) <= longest;
}

uint32_t mgFirstRecordPosition(const mgFileControl* f);

// Control blocks.
mgFileControl* mgGetFileControl(int fileNumber);
mgFileControl* mgCheckFile(int fileNumber);
int mgFindOpenFile(const char* name);
int mgGrowFileTable(int number);
uint16_t mgCheckWritable(mgFileControl* f);

// Header transfers.
uint16_t mgReadHeader(mgFileControl* f, bool atOpen);
uint16_t mgWriteHeader(mgFileControl* f);
uint16_t mgWriteHeaderStart(mgFileControl* f);
uint16_t mgWriteHeaderTail(mgFileControl* f);
void mgInitHeader(mgFileControl* f);
// Before the first change of a file: writes and flushes its update flag (and its host's).
// Every write of the file calls it. A file with the pending-update bit keeps the flag until
// its close; a file opened shared also takes a session byte (below) for as long as it is
// open, and its close clears the flag only when no other session is alive.
uint16_t mgMarkUpdate(mgFileControl* f);
// Whether another handle (in this process or another) holds a session byte of the file: a
// set update flag is then that session's, not a crash's.
bool mgSessionAlive(mgFileControl* f);
// The close of a shared file's session: clears the update flag when it is the last one alive
// and its changes all reached the disk, and gives its session byte back.
uint16_t mgEndSharedSession(mgFileControl* f, bool failed);
// Records that a transfer of the file failed (see kMgSessionFailed).
void mgMarkFailed(mgFileControl* f);
// Reads the header again when the file is shared (others may have changed it).
uint16_t mgRefreshHeader(mgFileControl* f);
uint32_t mgExtendFile(mgFileControl* f, uint32_t bytes, uint32_t alignment);
int mgCheckEmptyFile(mgFileControl* f, uint16_t error);
void mgComputeDerivedSizes(mgFileControl* f);

// File numbers.
int mgFindFreeFileNumbers(int count);
int mgFindFreeRun(int start, int extra, uint16_t mode);

// Create, open and close.
uint16_t mgCreateDataFile(int fileNumber, const char* name, uint16_t recordLength, uint16_t extensionSize,
                          uint16_t mode);
uint16_t mgCreateIndexFile(int fileNumber, const char* name, int16_t keyLength, int16_t keyType,
                           int16_t duplicates, int16_t memberCount, uint16_t extensionSize, uint16_t mode);
uint16_t mgCreateIndexMember(int fileNumber, int16_t keyLength, int16_t keyType, int16_t duplicates,
                             int16_t memberNumber);
uint16_t mgOpenFile(int fileNumber, const char* name, uint16_t mode);
uint16_t mgCloseFile(int fileNumber, int mode);
uint16_t mgCloseAllFiles();
// Closes the least recently used non-permanent file's handle behind the caller's back;
// false when there is none to close.
bool mgCloseOneVirtually();
uint16_t mgReopenVirtual(mgFileControl* f);

// Builds the index header fields (limits) from key length, type and duplicates; shared by
// index creation and the member definition.
uint16_t mgSetIndexParameters(mgFileControl* f, int16_t keyLength, int16_t keyType, int16_t duplicates);
uint16_t mgAllocKeyImages(mgFileControl* f, int16_t keyLength);

// The least-recently-used list of non-permanent handles.
void mgLruAppend(mgFileControl* f);
void mgLruRemove(mgFileControl* f);
// Clears a control block for a new use (keeps its number), freeing what it owns.
void mgResetControl(mgFileControl* f);
// Checks a header just read at open against the file: kinds, sizes, ends, positions (13).
uint16_t mgCheckHeaderValues(mgFileControl* f, long long fileSize);

// Superfile members and the member directory.
uint16_t mgCreateMemberFile(int reserved, int host, int member, const char* name, const char* directoryKey,
                            int16_t length, int16_t keyType, int16_t duplicates, int16_t extraBlocks, uint16_t mode);
uint16_t mgCreateMemberDirectory(const char* name, int host, uint16_t mode);
uint16_t mgDeleteFile(int fileNumber);
int32_t mgMemberSeparator(const char* name);
const char* mgMemberKey(int32_t separator, const char* name, int host, char* key);
uint16_t mgFillRange(mgFileControl* f, uint32_t position, uint32_t length);
int32_t mgSizeShift(mgFileControl* f);
// What every call that makes or opens a file by name checks first: a started instance,
// a name the engine keeps whole, a number inside the table (grown once when needed).
uint16_t mgCheckNamedFileCall(int fileNumber, const char* name);
// The number of the open host a member name names (the part before the separator); the
// engine opens it by itself (shared) when it is not open yet; -1 when it cannot be had.
int mgHostOfMember(const char* memberName, uint16_t mode, int callerNumber);
