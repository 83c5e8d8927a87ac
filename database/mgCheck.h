// The consistency checker: walks every index of an open set (order, high keys, links,
// levels, counts, every key against its record), the records and the deleted-record chain,
// the pieces and free-space index of variable-length files and hosts, the resource chain and
// a host's member directory. It reads only; the files are left as they are.
#pragma once

#include <cstdint>

struct mgCheckReport {
    int problems;
    char first[256];
    uint32_t records;
    uint32_t keys[32];
    uint32_t freePieces;
    uint32_t resources;
};

// Checks an open set by its data file number; 0 when everything is consistent, else
// kMgFileDamaged with the first problem described in the report.
uint16_t mgCheckFileSet(uint16_t dataFile, mgCheckReport* report);
// Checks one index's tree and key count; keys are not compared with records.
uint16_t mgCheckIndex(int indexFile, mgCheckReport* report);
// Checks an open superfile host: its pieces, free-space index, member directory, resources.
uint16_t mgCheckHost(int hostFile, mgCheckReport* report);
