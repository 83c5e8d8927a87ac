// Records and keys: a record is a fixed block of bytes with typed fields laid over
// it, plus an index of keys by which a database finds it. Each key is an ordered
// list of segments, each segment naming one field of the record. The library only
// describes records; the database binding reads the buffer, the fields' places and
// sizes, and the keys.
#pragma once

#include "iTypeCollection.h"

#include <memory>

namespace iType {

// Does not own its fields; owns its index. Its text lists its shown fields joined by ", ".
class Record : public Collection {
public:
    class Index;
    class Key;
    class Segment;

    // Bit 0 of the record flags is an option of the database definition.
    static constexpr unsigned kRecordOption = 1;

    Record(const char* name, const char* description);
    Record(Collection* parent, const char* name, const char* description);
    Record(Collection* parent, void* data, unsigned size, const char* name, const char* description);
    Record(unsigned size, const char* name, const char* description);
    Record(void* data, unsigned size, const char* name, const char* description);
    ~Record() override;

    // Each concrete record builds a new record of its own class over a new buffer it owns.
    Base* Create() const override = 0;

    unsigned GetRecordFlags() const { return m_recordFlags; }
    void SetRecordFlags(unsigned flags) { m_recordFlags = flags; }
    Index* GetKeyIndex() const { return m_keyIndex.get(); }
    // Takes the index over; a previous one is deleted.
    void SetKeyIndex(Index* index);

private:
    unsigned m_recordFlags = 0;
    std::unique_ptr<Index> m_keyIndex;
};

// The record's keys in key order; owns them.
class Record::Index : public Collection {
public:
    explicit Index(Record* record);
    ~Index() override;

    // Not supported: says so in a message box and answers null.
    Base* Create() const override;

    Record* GetRecord() const { return m_record; }

private:
    Record* m_record;
};

// One key: its segments in segment order; owns them.
class Record::Key : public Collection {
public:
    // Key flags read by the database binding.
    static constexpr unsigned kDuplicates = 0x1;
    static constexpr unsigned kNullKey = 0x8;

    Key(Index* index, int number, const char* name, const char* description, unsigned flags);
    ~Key() override;

    // Not supported: says so in a message box and answers null.
    Base* Create() const override;

    int GetNumber() const { return m_number; }
    unsigned GetKeyFlags() const { return m_keyFlags; }
    int GetKeyWord() const { return m_keyWord; }

private:
    int m_number;
    unsigned m_keyFlags;
    int m_keyWord = 0;
};

// One part of a key: a field of the record, not owned. Most operations go to the field.
class Record::Segment : public Base {
public:
    // Segment flags: on a text field, the key part ignores case.
    static constexpr unsigned kNoCase = 0x4;

    // Name and description copied from the field; segment flags 0.
    Segment(Key* key, Base* field);
    // flags becomes the segment's flags word, segmentFlags its segment flags.
    Segment(Key* key, Base* field, unsigned flags, unsigned segmentFlags);
    ~Segment() override;

    void Clear() override;
    // "Segment", whatever the field holds.
    const char* GetText() const override;
    // Not supported: says so in a message box and answers null.
    Base* Create() const override;
    int IsValid() const override;
    int SetText(const char* text) override;
    // With kNoCase on a text field: its value against the other segment's field's
    // text, ignoring case. Otherwise the fields' own comparison.
    int CompareTo(const Base& other) const override;
    int SetMinimum() override;
    int SetMaximum() override;
    int Reserved1() override;
    int Reserved2() override;

    Base* GetField() const { return m_field; }
    unsigned GetSegmentFlags() const { return m_segmentFlags; }

private:
    Base* m_field;
    unsigned m_segmentFlags = 0;
};

} // namespace iType
