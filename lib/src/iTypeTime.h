// The clock-time field: a time coded HHMMSS in one 32-bit number with a count of
// whole days beside it, shown as the user's 24-hour time. Assigning a number of
// 24 hours or more splits the whole days off into the day carry.
#pragma once

#include "iTypeScalar.h"

namespace iType {

// Null value -1 (a new field holds it); default value 0. No least or greatest value.
class Time : public TType<long> {
public:
    Time();
    Time(Collection* parent, const char* name, const char* description);
    Time(std::nullptr_t, const char* name, const char* description);
    Time(Collection* parent, void* data, const char* name, const char* description);
    Time(Collection* parent, void* base, int offset, const char* name, const char* description);
    Time(void* data, const char* name, const char* description);
    Time(void* base, int offset, const char* name, const char* description);
    // Owned and nameless; takes the other's value, day carry and time-format flags.
    Time(const Time& other);
    // Assigns value as a number (splitting the days off) and keeps flags.
    Time(long value, long flags);
    ~Time() override;

    // The value, day carry and time-format flags.
    Time& operator=(const Time& other);
    // A value of 0 or more keeps its hours modulo 24; the whole days go to the day carry.
    Time& operator=(long value);

    long GetDayCarry() const { return m_dayCarry; }

    void Clear() override;
    const char* GetText() const override;
    void Assign(const Base& other) override;
    Base* Create() const override;
    int IsValid() const override;
    int SetText(const char* text) override;
    // Day carry first, then the value.
    int CompareTo(const Base& other) const override;
    int SetMinimum() override;
    int SetMaximum() override;

protected:
    long m_dayCarry = 0;
    // Set by the (value, flags) constructor and carried along; the text is always 24-hour.
    long m_timeFlags = TIME_FORCE24HOURFORMAT;

private:
    void Init();
};

} // namespace iType
