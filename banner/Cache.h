// The banner cache's record: one page the banner has shown, by its number, with the
// time it was first stored and the time it was last shown. The set "Cache.dat" keeps
// these 2060 bytes (behind the engine's leading zero byte), integers little-endian:
//
//   offset  bytes  field     meaning
//   0       4      "ID"      page number, signed
//   4       4      "Insert"  when the page was first stored: the low 32 bits of the seconds since 1970
//   8       4      "Update"  when the page was last shown: likewise
//   12      2048   "Page"    16-bit length, then up to 2046 bytes of page text
//
// Keys, one segment each and without duplicates: 0 "ID", 1 "Insert", 2 "Update".
// The fields lie over the buffer at those places; they are not members of the record.
#pragma once

#include "lib/src/iType.h"

#include <cstdint>

class Cache : public iType::Record {
public:
    static constexpr unsigned kSize = 2060;
    // Page text bytes the record holds after the length word.
    static constexpr unsigned kLongestPage = 2046;
    static constexpr int kKeyId = 0;
    static constexpr int kKeyInsert = 1;
    static constexpr int kKeyUpdate = 2;

    // Over a new buffer of kSize bytes that the record owns.
    Cache();
    // Over the caller's buffer of kSize bytes, which the caller keeps.
    explicit Cache(void* buffer);
    ~Cache() override;
    Cache(const Cache&) = delete;
    Cache& operator=(const Cache&) = delete;

    // A new record over a buffer of its own.
    iType::Base* Create() const override;

    unsigned char* Bytes() const { return static_cast<unsigned char*>(GetData()); }
    // Clears the whole buffer to zeros and sets the page number.
    void Reset(long id);
    // The stored page text; false when the length word is beyond the field, as in a
    // corrupt or foreign file: such a record holds no usable page.
    [[nodiscard]] bool GetPage(const char*& text, unsigned& length) const;
    // Stores the text with its length; false, changing nothing, when it does not fit.
    [[nodiscard]] bool SetPage(const char* text, unsigned length);

    iType::TType<long> m_id;
    iType::Time_T m_insert;
    iType::Time_T m_update;
    iType::VarBufString m_page;

private:
    void AddKeys();
};

// What a record's 4-byte time field holds for a moment: its low 32 bits. (The runtime's
// time is 64-bit; the field's width is fixed by the file.)
long StoredTime(int64_t seconds);
// The moment a record's time field stands for: the field read as unsigned, so that the
// times from 2038 (top bit set) to 2106 come back as they were stored.
int64_t StoredTimeSeconds(long stored);
