// The date field: a date coded YYYYMMDD in one 32-bit number, shown as the user's
// short date and valid only as a calendar date after year 0. It cannot be set
// from text.
#pragma once

#include "iTypeScalar.h"

namespace iType {

// Null value -1 (a new field holds it); default value 0.
class Date : public TType<long> {
public:
    Date();
    Date(Collection* parent, const char* name, const char* description);
    Date(std::nullptr_t, const char* name, const char* description);
    Date(Collection* parent, void* data, const char* name, const char* description);
    Date(Collection* parent, void* base, int offset, const char* name, const char* description);
    Date(void* data, const char* name, const char* description);
    Date(void* base, int offset, const char* name, const char* description);
    // Owned and nameless; takes the other's value and carried words.
    Date(const Date& other);
    explicit Date(long value);
    ~Date() override;

    // The value and both carried words.
    Date& operator=(const Date& other);
    Date& operator=(long value);

    const char* GetText() const override;
    void Assign(const Base& other) override;
    Base* Create() const override;
    int IsValid() const override;
    int SetText(const char* text) override;

protected:
    // Carried along by Assign and the copy assignment; nothing reads them.
    long m_dateFlags = 0;
    long m_pictureItem = LOCALE_SSHORTDATE;

private:
    void Init();
};

} // namespace iType
