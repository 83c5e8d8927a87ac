// The time-stamp field: seconds since 1970-01-01 UTC in one signed 32-bit number
// (the banner cache keeps two of them in its records), shown as the user's short
// date and 24-hour time. The runtime's time_t is 64-bit: a moment outside the 32
// bits stored becomes the null value rather than a wrapped, wrong time.
#pragma once

#include "iTypeScalar.h"

#include <windows.h>

namespace iType {

// Null value -1 (a new field holds it); default value 0.
class Time_T : public TType<long> {
public:
    Time_T();
    Time_T(Collection* parent, const char* name, const char* description);
    Time_T(std::nullptr_t, const char* name, const char* description);
    Time_T(Collection* parent, void* data, const char* name, const char* description);
    Time_T(Collection* parent, void* base, int offset, const char* name, const char* description);
    Time_T(void* data, const char* name, const char* description);
    Time_T(void* base, int offset, const char* name, const char* description);
    // Owned and nameless; takes the other's value and format flags.
    Time_T(const Time_T& other);
    explicit Time_T(long value);
    ~Time_T() override;

    // The value and both format flags.
    Time_T& operator=(const Time_T& other);
    Time_T& operator=(long value);

    // The moment st names in local time; the null value when it does not fit 32 bits.
    Time_T& SetFromSystemTime(const SYSTEMTIME& st);
    // out = the local date and time of the value (all zero when it has none); returns &out.
    SYSTEMTIME* GetSystemTime(SYSTEMTIME& out) const;
    void SetNow();

    // 1: Clear sets the current time instead of the null value.
    int GetClearMode() const { return m_clearMode; }
    void SetClearMode(int mode) { m_clearMode = mode; }
    // 1: SetDefault sets the current time; otherwise it does what Clear does.
    int GetDefaultMode() const { return m_defaultMode; }
    void SetDefaultMode(int mode) { m_defaultMode = mode; }
    // Flags of the platform's date and time formatting of the text.
    DWORD GetDateFormatFlags() const { return m_dateFlags; }
    void SetDateFormatFlags(DWORD flags) { m_dateFlags = flags; }
    DWORD GetTimeFormatFlags() const { return m_timeFlags; }
    void SetTimeFormatFlags(DWORD flags) { m_timeFlags = flags; }

    void Clear() override;
    const char* GetText() const override;
    // The base attributes, null and default values and both format flags; not the modes.
    void Assign(const Base& other) override;
    Base* Create() const override;
    void SetDefault() override;
    int IsValid() const override;
    int SetText(const char* text) override;

protected:
    int m_clearMode = 0;
    int m_defaultMode = 0;
    DWORD m_dateFlags = 0;
    DWORD m_timeFlags = TIME_FORCE24HOURFORMAT;

private:
    void Init();
};

} // namespace iType
