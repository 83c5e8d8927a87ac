// Whole-file reads and replace-on-success writes for the codecs. Files are read into
// memory once, so every decoder works on bytes whose length is known up front.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace imaging {

// Reads the whole file; kErrorFileOpen, kErrorFileRead, or kErrorImageTooLarge beyond kMaxFileBytes.
[[nodiscard]] int ReadWholeFile(const char* path, std::vector<std::uint8_t>& bytes);

// Writes the bytes beside `path` and then moves them into its place, so an existing
// file is either replaced whole or left intact. kErrorFileWrite on failure.
[[nodiscard]] int WriteFileReplacing(const char* path, const std::uint8_t* data, std::size_t size);

} // namespace imaging
