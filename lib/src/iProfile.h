// Settings in a profile (INI) file through the platform's profile functions: typed
// reads and writes of keys in sections, the file chosen by a profile mode (see
// ProfileFileName.h). A process-wide default mode says where profiles live when an
// object does not say; the program's own INI file can set it ("Mode" in "Default").
//
// Reads go through 2048 bytes, so a value holds at most 2047 characters. A read
// stores into the caller's variable only when the key has a non-empty value, so a
// variable set to its default beforehand keeps it when the key is missing.
// BOOL is int on this platform, so the BOOL forms carry their own names.
#pragma once

#include "ProfileFileName.h"
#include "iString.h"

#include <windows.h>

#include <cstdio>

// Owns its file name and default section; the file itself is the platform's.
class iProfile {
public:
    // mode 0: the process-wide default mode. ext null: ".INI".
    iProfile(int mode = 0, const char* name = nullptr, const char* ext = nullptr);
    virtual ~iProfile();

    void SetSection(const char* section);
    int GetMode() const { return m_mode; }
    const iString& GetFile() const { return m_file; }
    const iString& GetSection() const { return m_section; }

    static void SetDefaultMode(int mode);
    static int GetDefaultMode();
    // Sets the default mode from "Mode" in section "Default" of the program's own
    // INI file ("Private", "Protected" or "Public", in any case). A missing or
    // unknown value makes the mode Private, tells the user and repairs the key.
    static void ReadModeSetting();

    // In every operation a null section means the object's section.
    // The number of characters read; value receives the text, empty when the key is missing.
    [[nodiscard]] int GetString(const char* section, const char* key, iString& value);
    // The platform's result.
    [[nodiscard]] BOOL WriteString(const char* section, const char* key, const iString& text);

    // Reads answer the number of characters read and store only when it is above 0;
    // writes answer the platform's result.

    // Section first.
    [[nodiscard]] int Get(const char* section, const char* key, iString& value);
    [[nodiscard]] int Get(const char* section, const char* key, int& value);
    [[nodiscard]] int Get(const char* section, const char* key, short& value);
    [[nodiscard]] int Get(const char* section, const char* key, long& value);
    // 1 only for exactly "TRUE".
    [[nodiscard]] int GetBool(const char* section, const char* key, BOOL& value);
    [[nodiscard]] BOOL Set(const char* section, const char* key, const iString& value);
    [[nodiscard]] BOOL Set(const char* section, const char* key, int value);
    [[nodiscard]] BOOL Set(const char* section, const char* key, short value);
    [[nodiscard]] BOOL Set(const char* section, const char* key, long value);
    // "TRUE" for any nonzero value, else "FALSE".
    [[nodiscard]] BOOL SetBool(const char* section, const char* key, BOOL value);

    // Section last. Integers are read and written in radix 10 unless a radix (2 to
    // 36) is given; other radices write the value's bit pattern unsigned, with
    // upper-case digits, and read it back the same way. Unsigned types read as unsigned.
    [[nodiscard]] int Get(const char* key, iString& value, const char* section = nullptr);
    // buffer holds 2048 bytes; it receives the text with its terminating zero.
    [[nodiscard]] int Get(const char* key, char* buffer, const char* section = nullptr);
    [[nodiscard]] int Get(const char* key, int& value, const char* section = nullptr, int radix = 10);
    [[nodiscard]] int Get(const char* key, unsigned& value, const char* section = nullptr, int radix = 10);
    [[nodiscard]] int Get(const char* key, char& value, const char* section = nullptr, int radix = 10);
    [[nodiscard]] int Get(const char* key, unsigned char& value, const char* section = nullptr, int radix = 10);
    [[nodiscard]] int Get(const char* key, short& value, const char* section = nullptr, int radix = 10);
    [[nodiscard]] int Get(const char* key, unsigned short& value, const char* section = nullptr, int radix = 10);
    [[nodiscard]] int Get(const char* key, long& value, const char* section = nullptr, int radix = 10);
    [[nodiscard]] int Get(const char* key, unsigned long& value, const char* section = nullptr, int radix = 10);
    [[nodiscard]] int Get(const char* key, double& value, const char* section = nullptr);
    [[nodiscard]] BOOL Set(const char* key, const iString& value, const char* section = nullptr);
    [[nodiscard]] BOOL Set(const char* key, int value, const char* section = nullptr, int radix = 10);
    [[nodiscard]] BOOL Set(const char* key, unsigned value, const char* section = nullptr, int radix = 10);
    [[nodiscard]] BOOL Set(const char* key, char value, const char* section = nullptr, int radix = 10);
    [[nodiscard]] BOOL Set(const char* key, unsigned char value, const char* section = nullptr, int radix = 10);
    [[nodiscard]] BOOL Set(const char* key, short value, const char* section = nullptr, int radix = 10);
    [[nodiscard]] BOOL Set(const char* key, unsigned short value, const char* section = nullptr, int radix = 10);
    [[nodiscard]] BOOL Set(const char* key, long value, const char* section = nullptr, int radix = 10);
    [[nodiscard]] BOOL Set(const char* key, unsigned long value, const char* section = nullptr, int radix = 10);
    // Written with "%f".
    [[nodiscard]] BOOL Set(const char* key, double value, const char* section = nullptr);

    // Formats into at most 1023 characters and writes under the object's section:
    // the formatted length, or -1 when the text does not fit (nothing is written)
    // or the write fails.
    [[nodiscard]] int Printf(const char* key, const char* format, ...)
        __attribute__((format(__MINGW_PRINTF_FORMAT, 3, 4)));
    // Scans the key's text under the object's section: the number of fields
    // assigned, or -1 when the key is missing or empty.
    [[nodiscard]] int Scanf(const char* key, const char* format, ...)
        __attribute__((format(__MINGW_SCANF_FORMAT, 3, 4)));

protected:
    int m_mode;
    iString m_file;
    iString m_section;

private:
    const char* SectionOr(const char* section) const;
    // Reads the key's text and, when it is not empty, stores it converted in the
    // radix (0 or 2 to 36) and cut to the variable's width.
    template <typename T>
    int GetInteger(const char* section, const char* key, T& value, int radix);
    BOOL SetSigned(const char* section, const char* key, long value, int radix);
    BOOL SetUnsigned(const char* section, const char* key, unsigned long value, int radix);
};
