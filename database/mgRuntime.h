// Engine runtime: memory pools per instance, the fatal internal error, the status log
// "MGSTATUS.DMS" and the small routines every engine layer uses.
// The display of messages and the ending of the process go through replaceable functions,
// so that a test catches them instead of a message box or an exit.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "database/mgContext.h"
#include "lib/src/MsgBox.h"

// Pools with fixed uses.
constexpr int kMgPoolLocks = 11;
constexpr int kMgPoolNodeEntries = 15;
constexpr int kMgPoolControlBlocks = 17;
constexpr int kMgPoolNodeBuffers = 20;
constexpr int kMgPoolDataBuffers = 21;
// Largest block mgAlloc hands out; more is a broken request (internal error 7490).
constexpr long long kMgAllocLimit = 0x8000000;
// Status-log codes with a meaning of their own.
constexpr int kMgLogTextOnly = -199;
constexpr int kMgLogOpenTest = 30988;
constexpr int kMgLogPlain = 30987;

void* mgAlloc(long long size);
void mgFree(void* block);
template <typename T> void mgFreeAndClear(T*& block)
{
    mgFree(block);
    block = nullptr;
}
void* mgPoolTake(int pool);
void mgPoolGive(void* element, int pool);
void mgPoolRelease(int pool);
void mgSizePools(long nodeBufferSize, long dataBufferSize, long nodeBuffers, long dataBuffers);
// Pools whose element is an engine structure take its natural size on first use.
void mgSetPoolElementSize(int pool, size_t bytes);
void* mgCalloc(size_t count, size_t size);
void mgHeapFree(void* pointer);
template <typename T> void mgHeapFreeAndClear(T*& pointer)
{
    mgHeapFree(pointer);
    pointer = nullptr;
}

uint16_t mgSetError(uint16_t code);
void mgCopyBounded(char* destination, const char* source, size_t size);
void mgCopyOut(uint8_t*& destination, const void* source, size_t count);
void mgCopyIn(void* destination, const uint8_t*& source, size_t count);
void mgReverseBytes(uint8_t* buffer, int length);
void mgSwapWords(uint8_t* buffer, int count);
int mgAllBytesEqual(const uint8_t* buffer, int length, uint8_t value);
void mgListMove(mgRing* element, mgRing* anchor, bool atHead);
// An empty ring: its anchor alone.
void mgRingInit(mgRing* anchor);
// A table of count empty rings (the buckets of a cache); null when memory is short.
mgRing* mgNewRings(int count);
void mgListUnlink(mgRing* element);

[[noreturn]] void mgInternalError(int number);
int mgStatusLog(const char* text, int code);
// The status log line of a failure about a file: the text, then the file's name.
void mgStatusLogFile(const char* text, const char* fileName, int code);
void mgShowMessage(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));
[[noreturn]] void mgExitProcess(UINT code);

// The route of shown messages (null: console, or MessageBoxA without one) and of the
// process end (null: ExitProcess). Each setter answers the function it replaces.
MsgBoxShowFunction mgSetDisplayFunction(MsgBoxShowFunction display);
using mgExitFunction = void (*)(UINT code);
mgExitFunction mgSetExitFunction(mgExitFunction exitFunction);
// Forgets that the status-log failure was shown, so the next failure shows again (tests).
void mgResetStatusLogState();
