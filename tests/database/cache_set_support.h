// The program's cache set, made and opened as the record binding does it: a host on two
// free numbers, the data member "!data" with three unique 4-byte members "!000".."!002".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "database/mgContext.h"
#include "database_test_support.h"

namespace dbtest {

// Record of the cache: leading byte 0, u32 id at 1, u32 time at 5, u32 order at 9, page text.
std::vector<uint8_t> CacheRecord(uint32_t id, uint32_t time, uint32_t order);
uint32_t CacheId(const std::vector<uint8_t>& record);

// The set of cache records named `name`: 2061-byte records, three unique 4-byte signed keys
// (mode 8) on the id, the time and the order.
SetDefinition CacheSetDefinition(const std::string& name);

// Creates the set as the binding's CreateFiles does; 0 or the engine's code.
int CreateCacheSet(const std::string& path, uint16_t hostMode = 0x0202);

struct CacheSet {
    int host = -1;
    int data = -1;
    std::vector<uint64_t> definition;
    mgFileDef* def = nullptr;
    // Opens as the binding's Open does (host on two free numbers, the set by name).
    int Open(const std::string& path, uint16_t mode);
    int Close();
};

} // namespace dbtest
