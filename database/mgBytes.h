// Field access for the engine's on-disk images: every header, node, piece and resource
// is read and written byte by byte, little-endian unless a format says otherwise (the
// duplicate-key suffix and the free-space keys are big-endian), never as a memory image
// of a structure.
#pragma once

#include <cstdint>

inline uint16_t mgGet16(const uint8_t* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

inline uint32_t mgGet32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline void mgPut16(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

inline void mgPut32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

inline uint32_t mgGet32BE(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

inline void mgPut32BE(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}
