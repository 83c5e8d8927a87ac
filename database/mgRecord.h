// Record-level operations on an open file set: add, rewrite and delete with every index
// kept in step; keyed reads in five modes, walks in key or physical order, reads at a
// position, and the current record they all move. Every call answers isam_code and names
// the file it concerns in isam_file.
// Order callers rely on: an add writes the record before any key; a rewrite maintains every
// key before the record; a delete removes every key before the space is freed. A failure
// in the middle is undone in reverse order.
#pragma once

#include <cstdint>

int16_t mgAddRecord(uint16_t dataFile, void* record);
int16_t mgAddVariableRecord(uint16_t dataFile, void* record, int32_t length);
int16_t mgRewriteRecord(uint16_t dataFile, const void* record);
int16_t mgRewriteVariableRecord(uint16_t dataFile, const void* record, int32_t length);
int16_t mgDeleteRecord(uint16_t dataFile);
int16_t mgDeleteVariableRecord(uint16_t dataFile);

int16_t mgGetEqualRecord(uint16_t indexFile, const void* target, void* record);
int16_t mgGetGreaterOrEqualRecord(uint16_t indexFile, const void* target, void* record);
int16_t mgGetGreaterRecord(uint16_t indexFile, const void* target, void* record);
int16_t mgGetLessOrEqualRecord(uint16_t indexFile, const void* target, void* record);
int16_t mgGetLessRecord(uint16_t indexFile, const void* target, void* record);
int16_t mgNextRecord(uint16_t file, void* record);
int16_t mgPreviousRecord(uint16_t file, void* record);
int16_t mgFirstRecord(uint16_t file, void* record);
int16_t mgLastRecord(uint16_t file, void* record);
int16_t mgReadRecordAt(uint16_t dataFile, uint32_t position, void* record);
int16_t mgReadVariableRecord(uint16_t dataFile, void* buffer, int32_t size);
uint32_t mgVariableRecordLength(uint16_t dataFile);
int16_t mgSaveRestorePosition(uint16_t dataFile, int16_t mode);

// Flags word bits of the instance: release the written record's lock after an add or a
// rewrite.
constexpr uint32_t kMgReleaseAfterAdd = 0x01;
constexpr uint32_t kMgReleaseAfterRewrite = 0x02;
