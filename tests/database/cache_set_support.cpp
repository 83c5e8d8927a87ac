// The cache set as the record binding makes and opens it.
#include "cache_set_support.h"

#include <cstring>

#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgInstance.h"
#include "database/mgResource.h"

namespace dbtest {

std::vector<uint8_t> CacheRecord(uint32_t id, uint32_t time, uint32_t order)
{
    std::vector<uint8_t> record(2061, 0);
    uint32_t values[3] = {id, time, order};
    for (int v = 0; v < 3; ++v)
        for (int i = 0; i < 4; ++i)
            record[size_t(1 + 4 * v + i)] = uint8_t(values[v] >> (8 * i));
    std::string page = "<html>page " + std::to_string(id) + "</html>";
    memcpy(record.data() + 13, page.data(), page.size());
    return record;
}

uint32_t CacheId(const std::vector<uint8_t>& record)
{
    return record[1] | (record[2] << 8) | (record[3] << 16) | (uint32_t(record[4]) << 24);
}

SetDefinition CacheSetDefinition(const std::string& name)
{
    SetDefinition set;
    set.name = name;
    set.segments = {{{1, 4, 8}}, {{5, 4, 8}}, {{9, 4, 8}}};
    set.indexes.resize(3);
    for (mgIndexDef& index : set.indexes)
        index.keyLength = 4;
    set.def.dataFileNumber = -1;
    set.def.recordLength = 2061;
    set.def.setFileNumber = -1;
    return set;
}

int CreateCacheSet(const std::string& path, uint16_t hostMode)
{
    int host = mgFindFreeFileNumbers(2);
    if (host < 0)
        return mgCtx()->uerr_cod;
    if (int error = mgCreateDataFile(host, path.c_str(), 0, 0, hostMode))
        return error;
    SetDefinition set = CacheSetDefinition(path + "!data");
    set.memberNames = {path + "!000", path + "!001", path + "!002"};
    set.def.dataExtension = 0x4000;
    set.def.indexExtension = 0x4000;
    mgFileDef& def = *set.Build();
    int error = mgCreateFileSet(&def);
    if (error) {
        mgCloseFile(host, 0);
        return error;
    }
    uint8_t zero[2] = {0, 0};
    mgSetFileHeaderBytes(def.setFileNumber, zero);
    for (int i = 0; i < 3; ++i)
        mgSetFileHeaderBytes(def.setFileNumber + 1 + i, zero);
    error = mgCloseFileSet(&def);
    if (error) {
        mgCloseFile(host, 0);
        return error;
    }
    return mgCloseFile(host, 0);
}

int CacheSet::Open(const std::string& path, uint16_t mode)
{
    host = mgFindFreeFileNumbers(2);
    if (host < 0)
        return mgCtx()->uerr_cod;
    if (int error = mgOpenFile(host, path.c_str(), uint16_t(mode | 0x0200))) {
        host = -1;
        return error;
    }
    data = mgOpenFileSetFromResource(-1, (path + "!data.dat").c_str(), mode);
    if (data < 0)
        return mgCtx()->isam_code;
    uint32_t size = mgGetDefinitionResource(uint16_t(data), 0, nullptr);
    if (size == 0)
        return mgCtx()->isam_code;
    definition.assign(size / 8 + 1, 0);
    if (mgGetDefinitionResource(uint16_t(data), size, definition.data()) != size)
        return mgCtx()->isam_code;
    def = reinterpret_cast<mgFileDef*>(definition.data());
    return 0;
}

int CacheSet::Close()
{
    int result = 0;
    if (data >= 0)
        result = mgCloseFileSetByNumber(uint16_t(data));
    if (host >= 0) {
        int error = mgCloseFile(host, 0);
        if (!result)
            result = error;
    }
    data = host = -1;
    return result;
}

} // namespace dbtest
