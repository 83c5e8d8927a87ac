// JPEG markers as the segment walks of the structure check, the entropy check and the
// information reader tell them apart.
#pragma once

#include <cstdint>

namespace imaging {

// SOF0..SOF15, the frame headers; C4 (Huffman tables), C8 (reserved) and CC (arithmetic
// conditioning) share the range but are not frames.
inline bool IsJpegFrameMarker(std::uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// TEM and the restart markers RST0..RST7 stand alone: no length follows them.
inline bool IsJpegStandaloneMarker(std::uint8_t marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

} // namespace imaging
