// Duration fields: a signed length of time in one 32-bit number, shown through a
// picture of hour, minute and second letters. DeltaTime counts seconds;
// DeltaTimeBCD keeps the decimal form +-HHMMSS. Both are always valid, cannot be
// set from text and have no least or greatest value; null and default value 0.
#pragma once

#include "iTypeScalar.h"

#include <memory>

namespace iType {

// What both duration kinds share: null value 0, always valid, no text to parse and no limits.
class DurationField : public TType<long> {
public:
    DurationField();
    DurationField(Collection* parent, const char* name, const char* description);
    DurationField(std::nullptr_t, const char* name, const char* description);
    DurationField(Collection* parent, void* data, const char* name, const char* description);
    DurationField(Collection* parent, void* base, int offset, const char* name, const char* description);
    DurationField(void* data, const char* name, const char* description);
    DurationField(void* base, int offset, const char* name, const char* description);
    ~DurationField() override;

    int IsValid() const override;
    int SetText(const char* text) override;
    int SetMinimum() override;
    int SetMaximum() override;

private:
    void Init();
};

// Owns its picture (null: "HHH:MM"), which only Assign replaces.
class DeltaTime : public DurationField {
public:
    using DurationField::DurationField;
    DeltaTime() = default;
    // Owned and nameless, holding the other's value.
    DeltaTime(const DeltaTime& other);
    explicit DeltaTime(long seconds);
    ~DeltaTime() override;

    // The value only.
    DeltaTime& operator=(const DeltaTime& other);
    DeltaTime& operator=(long seconds);

    // Hours beyond the picture's hour letters are cut off; leading zeros are blanked.
    const char* GetText() const override;
    // The base attributes, null and default values, carried words and picture; not the format flags.
    void Assign(const Base& other) override;
    Base* Create() const override;

protected:
    // Carried along by Assign; nothing reads them.
    long m_carried1 = 2;
    long m_formatFlags = 0;
    long m_carried3 = 0;
    long m_carried4 = 86400;  // one day in seconds
    long m_carried5 = 900;    // a quarter hour in seconds
    long m_carried6 = 0;
    std::unique_ptr<char[]> m_picture;
};

// Owns its picture (null: the default picture of the format flags), which only Assign replaces.
class DeltaTimeBCD : public DurationField {
public:
    // Bits of the format flags.
    static constexpr long kNoSeconds = 2;       // default picture "HH:MM" instead of "HH:MM:SS"
    static constexpr long kSuppressZeros = 8;   // leading zeros of the text are blanked

    using DurationField::DurationField;
    DeltaTimeBCD() = default;
    // Owned and nameless, holding the other's value and format flags.
    DeltaTimeBCD(const DeltaTimeBCD& other);
    DeltaTimeBCD(long value, long formatFlags);
    ~DeltaTimeBCD() override;

    // The value only.
    DeltaTimeBCD& operator=(const DeltaTimeBCD& other);
    DeltaTimeBCD& operator=(long value);

    long GetFormatFlags() const { return m_formatFlags; }

    // In the date and time routines' own scratch ring; a picture that does not fit is cut.
    const char* GetText() const override;
    // The base attributes, null and default values, carried words, format flags and picture.
    void Assign(const Base& other) override;
    Base* Create() const override;

protected:
    // Carried along by Assign; nothing reads them.
    long m_carried1 = 2;
    long m_formatFlags = kSuppressZeros;
    long m_carried3 = 0;
    long m_carried4 = 240000;  // 24:00:00
    long m_carried5 = 1500;    // 00:15:00
    std::unique_ptr<char[]> m_picture;
};

} // namespace iType
