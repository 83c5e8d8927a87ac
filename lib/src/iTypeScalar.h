// Scalar fields: one number of type T with a null value (what Clear and a missing
// stored value give), a default value, limits, and a text form in a radix padded
// with zero digits. _TType holds the radix and pad width, TType<T> the value, and
// Bool is the boolean kind shown as "X" or "".
#pragma once

#include "NumberText.h"
#include "iRevolveString.h"
#include "iTypeBase.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstddef>
#include <cstring>
#include <limits>
#include <type_traits>

namespace iType {

// How a value type becomes text and back, and its least and greatest values. The
// integer types have number texts; any other type has none and no limits.
template <class T>
struct ScalarRules {
    static constexpr bool kIsSigned = std::is_same_v<T, long> || std::is_same_v<T, short> ||
                                      std::is_same_v<T, int> || std::is_same_v<T, char>;
    static constexpr bool kIsUnsigned = std::is_same_v<T, unsigned long> || std::is_same_v<T, unsigned short> ||
                                        std::is_same_v<T, unsigned int> || std::is_same_v<T, unsigned char>;
    static constexpr bool kIsInt64 = std::is_same_v<T, long long>;
    static constexpr bool kIsUInt64 = std::is_same_v<T, unsigned long long>;
    static constexpr bool kHasText = kIsSigned || kIsUnsigned || kIsInt64 || kIsUInt64;

    // The value's text in a scratch ring buffer; "" for a type without number texts.
    [[nodiscard]] static const char* ToText(T value, int radix, int padWidth)
    {
        if constexpr (!kHasText) {
            return "";
        } else {
            char* buffer = g_RevolveString->Get(static_cast<unsigned>(std::max(kNumberTextSize, padWidth + 1)));
            if constexpr (kIsSigned)
                IntToPaddedText(static_cast<long>(value), buffer, radix, padWidth);
            else if constexpr (kIsUnsigned)
                ULongToPaddedText(static_cast<unsigned long>(value), buffer, radix, padWidth);
            else if constexpr (kIsInt64)
                Int64ToPaddedText(value, buffer, radix, padWidth);
            else
                UInt64ToPaddedText(value, buffer, radix, padWidth);
            return buffer;
        }
    }

    // The runtime's parse in the radix: leading blanks skipped, stops at the first
    // character that is not a digit, nothing parsed gives 0. False for a type
    // without number texts.
    [[nodiscard]] static bool Parse(const char* text, int radix, T& value)
    {
        if constexpr (!kHasText) {
            return false;
        } else {
            if (!text)
                text = "";
            if constexpr (kIsSigned) {
                value = static_cast<T>(strtol(text, nullptr, radix));
            } else if constexpr (kIsUnsigned) {
                value = static_cast<T>(strtoul(text, nullptr, radix));
            } else {
                // 64-bit texts parse unsigned: a leading minus sign gives 0.
                while (isspace(static_cast<unsigned char>(*text)))
                    ++text;
                value = *text == '-' ? 0 : static_cast<T>(strtoull(text, nullptr, radix));
            }
            return true;
        }
    }

    [[nodiscard]] static bool Least(T& value)
    {
        if constexpr (!kHasText)
            return false;
        else
            value = std::numeric_limits<T>::min();
        return true;
    }

    [[nodiscard]] static bool Greatest(T& value)
    {
        if constexpr (!kHasText)
            return false;
        else
            value = std::numeric_limits<T>::max();
        return true;
    }

    [[nodiscard]] static int Compare(T a, T b) { return a < b ? -1 : (b < a ? 1 : 0); }

    // The other field's value read as one T; false when its storage is not one T.
    [[nodiscard]] static bool Read(const Base& other, T& value)
    {
        if (!other.GetData() || other.GetByteSize() != sizeof(T))
            return false;
        memcpy(&value, other.GetData(), sizeof(T));
        return true;
    }

    // The value through a printf-style format that takes one T, in a scratch ring buffer.
    [[nodiscard]] static const char* Format(const char* format, T value)
    {
        if constexpr (!std::is_arithmetic_v<T>) {
            return nullptr;
        } else {
            int length = snprintf(nullptr, 0, format, value);
            if (length < 0)
                return "";
            char* buffer = g_RevolveString->Get(static_cast<unsigned>(length));
            snprintf(buffer, static_cast<size_t>(length) + 1, format, value);
            return buffer;
        }
    }
};

// The number base and pad width that every scalar kind shares.
class _TType : public Base {
public:
    _TType(const char* name, const char* description);
    _TType(Collection* parent, const char* name, const char* description);
    _TType(Collection* parent, void* data, const char* name, const char* description);
    _TType(Collection* parent, void* data, unsigned size, const char* name, const char* description);
    _TType(Collection* parent, void* data, const char* name, const char* description, unsigned size);
    _TType(Collection* parent, const char* name, const char* description, unsigned size);
    _TType(void* data, unsigned size, const char* name, const char* description);
    _TType(unsigned size, const char* name, const char* description);
    ~_TType() override;

    int GetRadix() const { return m_radix; }
    void SetRadix(int radix) { m_radix = radix; }
    int GetPadWidth() const { return m_padWidth; }

protected:
    int m_radix = 10;
    int m_padWidth = 0;
};

// The value part that every one-T field kind shares: one T in the field's storage
// with its null and default values, limits, comparison and formatted text. Family
// is the field base that holds the storage and gives the text.
template <class Family, class T>
class ScalarValue : public Family {
public:
    using Rules = ScalarRules<T>;
    using Family::Family;
    ~ScalarValue() override = default;

    T& Value() { return *static_cast<T*>(this->m_data); }
    const T& Value() const { return *static_cast<const T*>(this->m_data); }
    T GetNullValue() const { return m_null; }
    void SetNullValue(T value) { m_null = value; }
    T GetDefaultValue() const { return m_default; }
    void SetDefaultValue(T value) { m_default = value; }

    void Clear() override { Value() = m_null; }
    void SetDefault() override { Value() = m_default; }
    int IsValid() const override { return 1; }

    const char* GetTextFormat(const char* format) const override
    {
        const char* text = format ? Rules::Format(format, Value()) : nullptr;
        return text ? text : this->GetText();
    }

    // -1, 0 or 1 as this value is below, equal to or above the other's.
    int CompareTo(const Base& other) const override
    {
        T value{};
        if (!Rules::Read(other, value)) {
            int raw = this->Compare(other);
            return raw < 0 ? -1 : (raw > 0 ? 1 : 0);
        }
        return Rules::Compare(Value(), value);
    }

    int SetMinimum() override
    {
        T value{};
        if (!Rules::Least(value))
            return 0;
        Value() = value;
        return 1;
    }

    int SetMaximum() override
    {
        T value{};
        if (!Rules::Greatest(value))
            return 0;
        Value() = value;
        return 1;
    }

protected:
    // Lays the value at data (null: none yet) and sets it to the null value.
    void Init(void* data, unsigned kind)
    {
        this->Set(kind, sizeof(T), 1, data);
        if (data)
            Value() = m_null;
    }

    T m_null{};
    T m_default{};
};

// One T in owned storage or at a place in a borrowed buffer.
template <class T>
class TType : public ScalarValue<_TType, T> {
    using Scalar = ScalarValue<_TType, T>;

public:
    using typename Scalar::Rules;

    // Owned, nameless.
    TType() : Scalar(nullptr, nullptr, nullptr, sizeof(T)) { this->Init(this->m_data, iMemory::kOwned); }
    TType(Collection* parent, const char* name, const char* description)
        : Scalar(parent, name, description, sizeof(T))
    {
        this->Init(this->m_data, iMemory::kOwned);
    }
    // Owned, in no collection (a bare null parent would also fit the borrowed form).
    TType(std::nullptr_t, const char* name, const char* description)
        : TType(static_cast<Collection*>(nullptr), name, description)
    {
    }
    // Borrowed: sizeof(T) bytes at data, which construction sets to the null value.
    TType(Collection* parent, void* data, const char* name, const char* description)
        : Scalar(parent, data, sizeof(T), name, description)
    {
        this->Init(data, iMemory::kBorrowed);
    }
    TType(Collection* parent, void* base, int offset, const char* name, const char* description)
        : TType(parent, static_cast<char*>(base) + offset, name, description)
    {
    }
    TType(void* data, const char* name, const char* description) : TType(nullptr, data, name, description) {}
    TType(void* base, int offset, const char* name, const char* description)
        : TType(nullptr, static_cast<char*>(base) + offset, name, description)
    {
    }
    // Owned and nameless, holding the other's value.
    TType(const TType& other) : TType() { this->Value() = other.Value(); }
    explicit TType(T value) : TType() { this->Value() = value; }
    ~TType() override = default;

    // The value only.
    TType& operator=(const TType& other)
    {
        this->Value() = other.Value();
        return *this;
    }
    TType& operator=(T value)
    {
        this->Value() = value;
        return *this;
    }

    const char* GetText() const override
    {
        if (!(this->m_textFlags & Base::kTextShowNull) && this->Value() == this->m_null)
            return "";
        if (!(this->m_textFlags & Base::kTextShowInvalid) && !this->IsValid())
            return "";
        return Rules::ToText(this->Value(), this->m_radix, this->m_padWidth);
    }

    // The base attributes, then the null and default values.
    void Assign(const Base& other) override
    {
        Base::Assign(other);
        if (const auto* scalar = dynamic_cast<const TType*>(&other)) {
            this->m_null = scalar->m_null;
            this->m_default = scalar->m_default;
        }
    }

    Base* Create() const override { return this->NamedAsThis(new TType); }

    int SetText(const char* text) override
    {
        T value{};
        if (!Rules::Parse(text, this->m_radix, value))
            return 0;
        this->Value() = value;
        return 1;
    }

    virtual int CompareValue(T value) const { return Rules::Compare(this->Value(), value); }
};

// A flag in an int: "X" when set, "" when clear; it cannot be set from text.
class Bool : public TType<int> {
public:
    Bool();
    Bool(Collection* parent, const char* name, const char* description);
    Bool(std::nullptr_t, const char* name, const char* description);
    Bool(Collection* parent, void* data, const char* name, const char* description);
    Bool(Collection* parent, void* base, int offset, const char* name, const char* description);
    Bool(void* data, const char* name, const char* description);
    Bool(void* base, int offset, const char* name, const char* description);
    // Owned and nameless, holding the other's value (not its null or default value).
    Bool(const Bool& other);
    explicit Bool(int value);
    ~Bool() override;

    // The value only.
    Bool& operator=(const Bool& other);
    Bool& operator=(int value);

    const char* GetText() const override;
    void Assign(const Base& other) override;
    Base* Create() const override;
    int IsValid() const override;
    int SetText(const char* text) override;
};

} // namespace iType
