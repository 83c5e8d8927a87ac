// The decimal field: a double printed with a printf-style format (two decimals
// unless the field has its own) and, when it carries a number format, passed
// through the platform's locale number formatting for grouping and separators.
// It cannot be set from text and has no least or greatest value.
#pragma once

#include "iTypeScalar.h"

#include <windows.h>

#include <memory>

namespace iType {

// The platform's number format followed by room for its own two separators. In a
// field's copy the separator pointers always point at the field's own texts.
struct NumberFormat : NUMBERFMTA {
    char decimalSeparator[8];   // at most 7 characters and a zero
    char thousandSeparator[8];  // at most 7 characters and a zero
};

// Owns its format text and number format.
class Double : public TType<double> {
public:
    Double();
    Double(Collection* parent, const char* name, const char* description);
    Double(std::nullptr_t, const char* name, const char* description);
    Double(Collection* parent, void* data, const char* name, const char* description);
    Double(Collection* parent, void* base, int offset, const char* name, const char* description);
    Double(void* data, const char* name, const char* description);
    Double(void* base, int offset, const char* name, const char* description);
    // Owned and nameless, holding the other's value; neither format is taken.
    Double(const Double& other);
    explicit Double(double value);
    ~Double() override;

    // The value and a copy of the other's format; the number format stays.
    Double& operator=(const Double& other);
    Double& operator=(double value);

    // Null: the field has no number format. Otherwise a copy of f whose separators
    // are read from f's own text buffers.
    void SetNumberFormat(const NumberFormat* f);

    const char* GetText() const override;
    // The base attributes, null and default values, and copies of both formats.
    void Assign(const Base& other) override;
    Base* Create() const override;

protected:
    // printf-style, taking one double; null means "%.2f".
    std::unique_ptr<char[]> m_format;
    std::unique_ptr<NumberFormat> m_numberFormat;

private:
    void Init();
};

} // namespace iType
