// Variable-length fields: the length word and payload, texts cut to the room,
// comparison by capacity and payload, and length words that claim more than the
// buffer holds.
#include "lib/src/iTypeCollection.h"
#include "lib/src/iTypeVarBuf.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace {

void PutLength16(unsigned char* buffer, uint16_t length)
{
    memcpy(buffer, &length, sizeof length);
}

void PutLength32(unsigned char* buffer, uint32_t length)
{
    memcpy(buffer, &length, sizeof length);
}

} // namespace

TEST(iTypeVarBufString, SetTextWritesLengthThenText)
{
    unsigned char buffer[8];
    memset(buffer, 0xEE, sizeof buffer);
    iType::VarBufString field(buffer, 8, "s", nullptr);
    EXPECT_EQ(1, field.SetText("abc"));
    const unsigned char expected[] = {3, 0, 'a', 'b', 'c', 0, 0, 0};
    EXPECT_EQ(0, memcmp(buffer, expected, 8));
    EXPECT_STREQ("abc", field.GetText());
    EXPECT_EQ(reinterpret_cast<const char*>(buffer + 2), field.GetText());  // in place

    EXPECT_EQ(1, field.SetText("0123456789"));
    EXPECT_EQ(6u, field.GetLength());
    EXPECT_EQ(0, memcmp(buffer + 2, "012345", 6));
}

TEST(iTypeVarBufString, TextThatFillsItsRoomIsHandedOutTerminated)
{
    // A guard byte right after the buffer: a text read past the room would show it.
    unsigned char memory[9] = {0, 0, 0, 0, 0, 0, 0, 0, 'G'};
    iType::VarBufString field(memory, 8, "s", nullptr);
    field.SetText("abcdef");
    EXPECT_STREQ("abcdef", field.GetText());
}

TEST(iTypeVarBufString, LengthWordIsClampedToTheRoomWhereverItIsRead)
{
    struct Case {
        const char* why;
        uint16_t length;
        const char* text;
        int compareSign;  // against a payload that differs in its sixth byte
    };
    const Case cases[] = {
        {"claims more than the room", 60000, "abcdef", 1},
        {"claims less than the bytes after it", 2, "ab", 0},
        {"claims nothing", 0, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        unsigned char memory[9] = {0, 0, 0, 0, 0, 0, 0, 0, 'G'};
        PutLength16(memory, c.length);
        memcpy(memory + 2, "abcdef", 6);
        iType::VarBufString field(memory, 8, "s", nullptr);
        EXPECT_LE(field.GetLength(), 6u);
        EXPECT_STREQ(c.text, field.GetText());
        iType::VarBufString other(8u);
        other.SetText("abcdeX");
        int result = field.CompareTo(other);
        EXPECT_EQ(c.compareSign, result < 0 ? -1 : (result > 0 ? 1 : 0));
    }
}

TEST(iTypeVarBuf32, LengthWordIsClampedToTheRoom)
{
    unsigned char buffer[10] = {};
    PutLength32(buffer, 0xFFFFFFFF);
    iType::VarBuf32 field(buffer, 10, "b", nullptr);
    EXPECT_EQ(6u, field.GetLength());
    EXPECT_EQ(6u, field.GetRoom());
    field.SetLength(100);
    uint32_t stored;
    memcpy(&stored, buffer, 4);
    EXPECT_EQ(6u, stored);
}

TEST(iTypeVarBuf, ClearEmptiesEveryKind)
{
    iType::VarBufString text(8u);
    text.SetText("abc");
    text.Clear();
    EXPECT_EQ(0u, text.GetLength());
    EXPECT_STREQ("", text.GetText());

    unsigned char buffer[8];
    memset(buffer, 0x55, sizeof buffer);
    iType::VarBuf binary(buffer, 8, "v", nullptr);
    binary.Clear();
    for (unsigned char b : buffer)
        EXPECT_EQ(0, b);
}

TEST(iTypeVarBuf, CompareToGoesByCapacityThenThisPayload)
{
    unsigned char a[16] = {};
    unsigned char b[16] = {};
    unsigned char wide[32] = {};
    PutLength16(a, 3);
    memcpy(a + 2, "abc", 3);
    PutLength16(b, 6);
    memcpy(b + 2, "abcdef", 6);
    iType::VarBuf shorter(a, 16, "a", nullptr);
    iType::VarBuf longer(b, 16, "b", nullptr);
    iType::VarBuf wider(wide, 32, "w", nullptr);
    EXPECT_EQ(0, shorter.CompareTo(longer));
    EXPECT_GT(longer.CompareTo(shorter), 0);
    EXPECT_EQ(-16, shorter.CompareTo(wider));
    EXPECT_EQ(16, wider.CompareTo(shorter));
    memcpy(b + 2, "abd", 3);
    EXPECT_LT(shorter.CompareTo(longer), 0);
    b[2] = 0xF0;  // bytes compare unsigned
    EXPECT_LT(shorter.CompareTo(longer), 0);
}

TEST(iTypeVarBuf, BinaryKindsHaveNoTextAndTakeNone)
{
    unsigned char buffer[8] = {};
    iType::VarBuf binary(buffer, 8, "v", nullptr);
    iType::VarBuf32 binary32(buffer, 8, "v", nullptr);
    iType::BLOb blob(buffer, 8, "d", nullptr);
    for (iType::Base* field : {static_cast<iType::Base*>(&binary), static_cast<iType::Base*>(&binary32),
                               static_cast<iType::Base*>(&blob)}) {
        EXPECT_EQ(nullptr, field->GetText());
        EXPECT_EQ(0, field->SetText("abc"));
        EXPECT_EQ(0, field->SetMinimum());
        EXPECT_EQ(0, field->SetMaximum());
    }
    for (unsigned char b : buffer)
        EXPECT_EQ(0, b);
    EXPECT_EQ(32u, binary.GetAttributes());
    iType::VarBufString text(8u);
    EXPECT_EQ(0u, text.GetAttributes());
}

TEST(iTypeVarBuf, NullTextAddsNothingToACollectionText)
{
    iType::Collection record("r", nullptr);
    iType::VarBuf binary(&record, "v", nullptr, 8u);
    iType::VarBufString text(&record, nullptr, "t", nullptr, 8u);
    EXPECT_EQ(nullptr, text.GetData());  // a null data pointer: no buffer
    EXPECT_STREQ("", record.GetText());
}

TEST(iTypeVarBuf, IsValidNeedsABufferExceptForBLOb)
{
    iType::VarBuf none;
    iType::BLOb blobNone;
    iType::VarBuf owned(4u);
    EXPECT_EQ(0, none.IsValid());
    EXPECT_EQ(1, blobNone.IsValid());
    EXPECT_EQ(1, owned.IsValid());
}

TEST(iTypeBLOb, NeverEqualAndTakesNoAttributes)
{
    iType::BLOb blob(nullptr, "Data", "Blob", 12u);
    EXPECT_EQ(-1, blob.CompareTo(blob));
    iType::VarBuf other(nullptr, "Other", "Other field", 12u);
    other.SetFlags(0);
    blob.Assign(other);
    EXPECT_STREQ("Data", blob.GetName());
    EXPECT_EQ(3u, blob.GetFlags());
}

TEST(iTypeBLOb, CloneIsAnEmptyVarBuf32)
{
    iType::BLOb blob(nullptr, "Data", nullptr, 12u);
    memset(blob.GetData(), 7, 12);
    std::unique_ptr<iType::Base> clone(blob.Clone());
    ASSERT_NE(nullptr, clone);
    EXPECT_EQ(typeid(iType::VarBuf32), typeid(*clone));
    EXPECT_STREQ("Data", clone->GetName());
    EXPECT_EQ(12u, clone->GetByteSize());
    const auto* bytes = static_cast<const unsigned char*>(clone->GetData());
    for (unsigned i = 0; i < 12; ++i)
        EXPECT_EQ(0, bytes[i]);
}

TEST(iTypeVarBufString, CloneAndSetTextN)
{
    iType::VarBufString field(nullptr, nullptr, "Page", nullptr, 0u);
    EXPECT_EQ(0u, field.GetRoom());
    EXPECT_EQ(1, field.SetText("abc"));  // no room: nothing written, nothing broken

    iType::VarBufString page(16u);
    page.SetName("Page");
    page.SetTextN("abcdef", 4);
    EXPECT_STREQ("abcd", page.GetText());
    page.SetTextN("ab", 10);
    EXPECT_STREQ("ab", page.GetText());
    EXPECT_EQ(2u, page.GetLength());
    std::unique_ptr<iType::Base> clone(page.Clone());
    EXPECT_EQ(typeid(iType::VarBufString), typeid(*clone));
    EXPECT_EQ(16u, clone->GetByteSize());
    EXPECT_STREQ("", clone->GetText());
}
