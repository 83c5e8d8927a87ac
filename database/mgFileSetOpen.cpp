// Opening a file set from its data file's name alone: the stored definition is read and
// unpacked, member names are moved along when the set was moved to another directory, and
// the indexes are opened on the numbers after the data file. A failed open leaves no file
// of the set open.
#include "database/mgFileSet.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "database/mgFile.h"
#include "database/mgInstance.h"
#include "database/mgOs.h"
#include "database/mgResource.h"
#include "database/mgRuntime.h"

bool mgSetFileName(char* out, const char* name, const char* extension, bool host);
void mgIndexFileName(char* out, const char* memberName, const char* extension);

namespace {

size_t DirectoryLength(const char* name)
{
    size_t length = 0;
    for (size_t i = 0; name[i]; ++i)
        if (name[i] == '\\' || name[i] == '/' || name[i] == ':')
            length = i + 1;
    return length;
}

bool SameDirectory(const char* a, size_t aLength, const char* b, size_t bLength)
{
    if (aLength != bLength)
        return false;
    std::string left(a, aLength);
    std::string right(b, bLength);
    return mgSameFileName(left.c_str(), right.c_str()) == 0;
}

char* DuplicateText(const char* text)
{
    if (!text)
        return nullptr;
    size_t length = strlen(text);
    auto* copy = static_cast<char*>(malloc(length + 1));
    if (copy)
        memcpy(copy, text, length + 1);
    return copy;
}

// Closes what an open of a set made, last first.
void CloseOpened(int dataFile, int count)
{
    mgInstanceContext* ctx = mgCtx();
    for (int i = count - 1; i >= 0; --i) {
        int number = dataFile + 1 + i;
        mgFileControl* f = number < ctx->fileSlots ? ctx->files[number] : nullptr;
        if (f && f->status == 'y' && mgH16(f, kHdrMemberNumber) == 0 && mgSuperfileKind(f) != kMgDirectory)
            mgCloseFile(number, 0);
        mgResetSetEntry(number);
    }
    mgResetSetEntry(dataFile);
    mgCloseFile(dataFile, 0);
}

} // namespace

// Opens the indexes of a set whose data file is open; 0 or the ISAM error (set).
static uint16_t OpenIndexes(mgFileDef* def, int dataFile, uint16_t state, int* opened)
{
    mgInstanceContext* ctx = mgCtx();
    *opened = 0;
    if (def->indexCount > kMgMaxIndexes)
        return mgSetIsamError(kMgTooManyIndexes, uint16_t(dataFile));
    mgFileControl* data = mgCheckFile(dataFile);
    if (data && mgIsVariable(data))
        def->dataMode |= kMgModeVariable;
    mgSetEntry& dataEntry = ctx->sets[dataFile];
    dataEntry.state = state;
    dataEntry.dataFile = 65535;
    dataEntry.text1 = DuplicateText(def->text1);
    dataEntry.text2 = DuplicateText(def->text2);
    if ((def->text1 && !dataEntry.text1) || (def->text2 && !dataEntry.text2))
        return mgSetIsamError(kMgDefinitionTextNoMemory, uint16_t(dataFile));
    ctx->memberLists[dataFile][0] = -1;
    for (int i = 0; i < def->indexCount; ++i) {
        const mgIndexDef& index = def->indexes[i];
        int number = dataFile + 1 + i;
        bool starts = i == 0 || index.memberName;
        if (starts) {
            int extra = 0;
            while (i + 1 + extra < def->indexCount && !def->indexes[i + 1 + extra].memberName)
                ++extra;
            char name[256];
            if (index.memberName)
                mgIndexFileName(name, index.memberName, ctx->indexExtension);
            else if (!mgSetFileName(name, def->name, ctx->indexExtension, false))
                name[0] = 0;
            uint16_t error = mgOpenFile(number, name, def->indexMode);
            if (error)
                return mgSetIsamError(error, uint16_t(number));
            *opened = i + 1;
            mgFileControl* f = mgCheckFile(number);
            if (!mgIsIndex(f))
                return mgSetIsamError(mgSetError(kMgWrongFileKind), uint16_t(number));
            if (mgH16(f, kHdrMemberCount) != extra)
                return mgSetIsamError(mgSetError(kMgMemberCountMismatch), uint16_t(number));
        }
        *opened = i + 1;
        mgFileControl* f = mgCheckFile(number);
        if (!f || !mgIsIndex(f))
            return mgSetIsamError(mgSetError(kMgBadFileNumber), uint16_t(number));
        if (mgKeyLength(f) != uint16_t(index.keyLength) || (f->header[kHdrDuplicates] != 0) != (index.duplicates != 0))
            return mgSetIsamError(mgSetError(kMgIndexMismatch), uint16_t(number));
        if (uint16_t error = mgRegisterIndexDef(i, def, -1, 0))
            return mgSetIsamError(error, uint16_t(number));
        ctx->sets[number].state = state;
    }
    return 0;
}

int16_t mgOpenFileSetFromResource(int16_t fileNumber, const char* name, uint16_t mode)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return -1;
    ctx->isam_code = 0;
    if (!ctx->started) {
        mgSetIsamError(mgSetError(kMgNotStarted), 0);
        return -1;
    }
    // The name is copied with at most 254 characters: a longer one is refused, not cut.
    if (name && !mgNameFits(name, 254)) {
        mgSetIsamError(mgSetError(kMgNameTooLong), 0);
        return -1;
    }
    char given[256];
    mgCopyBounded(given, name ? name : "", 255);
    for (int round = 0; round < 2; ++round) {
        int dataFile = fileNumber >= 0 ? fileNumber : mgFindFreeRun(-1, 0, 0);
        if (dataFile < 0) {
            mgSetIsamError(ctx->uerr_cod, 0);
            return -1;
        }
        if (uint16_t error = mgOpenFile(dataFile, given, mode)) {
            mgSetIsamError(error, uint16_t(dataFile));
            return -1;
        }
        mgFileControl* data = mgCheckFile(dataFile);
        if (mgIsIndex(data)) {
            mgCloseFile(dataFile, 0);
            mgSetIsamError(mgSetError(kMgWrongFileKind), uint16_t(dataFile));
            return -1;
        }
        uint32_t storedLength = 0;
        uint8_t* stored = static_cast<uint8_t*>(mgReadDefinitionPart(dataFile, &storedLength, 0, 0));
        if (!stored) {
            uint16_t error = ctx->uerr_cod;
            mgCloseFile(dataFile, 0);
            mgSetIsamError(error, uint16_t(dataFile));
            return -1;
        }
        bool widened = !(mgH32(data, kHdrFormatCode) & 1);
        uint32_t size = mgUnpackDefinition(stored, storedLength, widened, nullptr, 0);
        std::vector<uint64_t> buffer(size / 8 + 1);
        if (size == 0 || mgUnpackDefinition(stored, storedLength, widened, buffer.data(), size) == 0) {
            mgFree(stored);
            mgCloseFile(dataFile, 0);
            mgSetIsamError(kMgFileDamaged, uint16_t(dataFile));
            return -1;
        }
        char dataExtension[9] = {};
        if (!widened && storedLength >= 16)
            memcpy(dataExtension, stored + storedLength - 16, 8);
        mgFree(stored);
        auto* def = reinterpret_cast<mgFileDef*>(buffer.data());

        // A set moved to another directory finds its members there.
        std::vector<std::string> names(size_t(def->indexCount));
        size_t givenDirectory = DirectoryLength(given);
        size_t storedDirectory = DirectoryLength(def->name);
        bool moved = !SameDirectory(given, givenDirectory, def->name, storedDirectory);
        for (int i = 0; i < def->indexCount; ++i) {
            const char* member = def->indexes[i].memberName;
            if (!member)
                continue;
            size_t memberDirectory = DirectoryLength(member);
            if (moved && SameDirectory(member, memberDirectory, def->name, storedDirectory))
                names[size_t(i)] = std::string(given, givenDirectory) + std::string(member + memberDirectory);
            else
                names[size_t(i)] = member;
            def->indexes[i].memberName = &names[size_t(i)][0];
        }
        size_t cut = (dataExtension[0] && dataExtension[0] != ' ') ? strnlen(dataExtension, 8) : 0;
        std::string setName(given);
        if (setName.size() >= cut)
            setName.resize(setName.size() - cut);
        def->name = &setName[0];
        def->dataMode = mode;
        def->indexMode = uint16_t(mode & ~kMgModeVariable);
        def->setFileNumber = int16_t(dataFile);

        bool numbersFree = def->indexCount == 0 || mgFindFreeRun(dataFile + 1, def->indexCount - 1, 0) == dataFile + 1;
        if (!numbersFree) {
            mgCloseFile(dataFile, 0);
            if (fileNumber >= 0 || round == 1) {
                mgSetIsamError(mgSetError(kMgNumberInUse), uint16_t(dataFile));
                return -1;
            }
            int run = mgFindFreeRun(-1, def->indexCount, 0);
            if (run < 0) {
                mgSetIsamError(ctx->uerr_cod, 0);
                return -1;
            }
            fileNumber = int16_t(run);
            continue;
        }
        ctx->openingSet = true;
        int opened = 0;
        uint16_t error = OpenIndexes(def, dataFile, 1, &opened);
        ctx->openingSet = false;
        if (error) {
            uint16_t file = ctx->isam_file;
            CloseOpened(dataFile, opened);
            mgSetIsamError(error, file);
            return -1;
        }
        ctx->uerr_cod = 0;
        return int16_t(dataFile);
    }
    return -1;
}
