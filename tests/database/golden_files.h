// The golden files of tests/database/data, as the golden test makes and checks them and the
// corruption corpus damages them: where they lie, which they are, and the records of the
// variable-length set.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "database_test_support.h"

namespace dbtest {

// Where the golden file `name` lies.
inline std::string GoldenPath(const std::string& name)
{
    return std::string(DATABASE_GOLDEN_DIR) + "/" + name;
}

// Every golden file: the cache host, the variable-length set, the set with resources.
inline constexpr const char* kGoldenFiles[] = {"Cache.dat", "variable.dat", "variable.idx", "resources.dat",
                                               "resources.idx"};

// Record `id` (1 to 3) of the variable-length set: 20, 110 and 200 bytes.
inline std::vector<uint8_t> GoldenVariableRecord(uint32_t id)
{
    return MakeRecord(id, "variable", size_t(20 + 90 * (id - 1)), uint8_t('a' + id));
}

} // namespace dbtest
