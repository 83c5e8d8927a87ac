// A program path split into its parts (drive, directory, name, extension, folder), each
// in a fixed field. Every part is copied bounded by its field, so a path whose
// extension or drive part is longer than the field is cut there, never written past it.
// Plain text work: nothing here needs a window.
#pragma once

// For C:\Tools\App\prog.exe: drive "C", directory "\Tools\App", name "prog",
// extension "exe", folder "C:\Tools\App".
struct iPathParts {
    static constexpr int kPathSize = 256;  // characters, terminating zero included
    static constexpr int kDriveSize = 8;
    static constexpr int kExtensionSize = 80;

    char m_fullPath[kPathSize] = {};
    char m_drive[kDriveSize] = {};        // the characters before the colon
    char m_directory[kPathSize] = {};     // after the colon up to the separator before the name
    char m_name[kPathSize] = {};          // without the dot and the extension
    char m_extension[kExtensionSize] = {};  // without the dot
    char m_folder[kPathSize] = {};        // the path up to the name, without its separator unless it is the root

    // Zeroes every field, then splits path (null: empty) taken to at most kPathSize - 1 characters.
    void Fill(const char* path);
};
