// Expressions at the edges of their values and inputs: doubles converted to unsigned outside
// its range, records that end before a field starts, and condition lists whose resource ends
// right at an inaccessible page, so that any read past the resource stops the program.
#include <gtest/gtest.h>

#include <cstring>

#include "database/mgBytes.h"
#include "database/mgCondition.h"
#include "database/mgErrors.h"
#include "database/mgInstance.h"
#include "database/mgRuntime.h"
#include "database_test_support.h"

namespace exprlimits {

using Bytes = std::vector<uint8_t>;

// i (i32) at 0, u (u32) at 4, d (double) at 8; alignment 1.
class NumberFields {
  public:
    NumberFields()
    {
        struct Field {
            const char* name;
            uint16_t length;
            uint8_t type;
        };
        const Field fields[] = {{"i", 4, 51}, {"u", 4, 59}, {"d", 8, 103}};
        description_.assign(16, 0);
        description_[1] = 1;
        description_[2] = '|';
        mgPut32(description_.data() + 8, 3);
        mgPut32(description_.data() + 12, 3);
        for (const Field& f : fields) {
            uint8_t entry[4] = {};
            mgPut16(entry, f.length);
            entry[2] = f.type;
            description_.insert(description_.end(), entry, entry + 4);
            names_.push_back(uint8_t(strlen(f.name) + 2));
            names_.insert(names_.end(), f.name, f.name + strlen(f.name) + 1);
        }
    }
    mgFieldTable Table() const
    {
        return mgFieldTable{description_.data(), uint32_t(description_.size()), names_.data(), uint32_t(names_.size())};
    }
    static Bytes Record(double d)
    {
        Bytes record(16, 0);
        memcpy(record.data() + 8, &d, 8);
        return record;
    }

  private:
    Bytes description_;
    Bytes names_;
};

struct Evaluated {
    uint16_t value;
    uint16_t status;
};

Evaluated EvaluateOn(const NumberFields& fields, const std::string& text, const Bytes& record)
{
    mgFieldTable table = fields.Table();
    mgExprNode* tree = mgCompileExpression(table, text.data(), int(text.size()));
    EXPECT_NE(nullptr, tree) << text;
    if (!tree)
        return {0, 0};
    if (!mgCtx()->exprStack)
        mgCtx()->exprStack = static_cast<uint64_t*>(mgCalloc(512, 8));
    Evaluated out{mgEvaluateExpression(tree, record.data(), uint32_t(record.size()), table), 0};
    out.status = mgCtx()->exprStatus;
    mgFreeExpression(tree);
    return out;
}

TEST(ExpressionLimits, DoublesOutsideTheUnsignedRangeConvertToItsNearestEnd)
{
    dbtest::ScratchFolder folder;
    dbtest::Engine engine;
    NumberFields fields;
    struct Case {
        const char* why;
        const char* text;
        double d;
    };
    const Case cases[] = {
        {"above the unsigned range: the largest", "(UNSIGNED) d == 4294967295", 1e20},
        {"just above it", "(UNSIGNED) d == 4294967295", 4294967296.0},
        {"below zero: 0", "(UNSIGNED) d == 0", -5.0},
        {"far below zero: 0", "(UNSIGNED) d == 0", -1e20},
        {"inside the range: truncated", "(UNSIGNED) d == 3000000000", 3000000000.75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Evaluated out = EvaluateOn(fields, c.text, NumberFields::Record(c.d));
        EXPECT_EQ(0, out.status);
        EXPECT_EQ(1, out.value);
    }
}

TEST(ExpressionLimits, ARecordEndingBeforeAFieldStartsGivesNoValue)
{
    dbtest::ScratchFolder folder;
    dbtest::Engine engine;
    NumberFields fields;
    // The record ends inside u: d starts two bytes past its end.
    Bytes record = NumberFields::Record(1.0);
    record.resize(6);
    Evaluated out = EvaluateOn(fields, "d > 0", record);
    EXPECT_EQ(10, out.status);
    EXPECT_EQ(0, out.value);
}

// Bytes placed so that the last one is the last of a readable page; the next page cannot
// be read.
class PageEnd {
  public:
    explicit PageEnd(const Bytes& bytes)
    {
        base_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, 2 * kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(base_ + kPage, kPage, PAGE_NOACCESS, &old);
        data_ = base_ + kPage - bytes.size();
        memcpy(data_, bytes.data(), bytes.size());
    }
    ~PageEnd()
    {
        VirtualFree(base_, 0, MEM_RELEASE);
    }
    PageEnd(const PageEnd&) = delete;
    PageEnd& operator=(const PageEnd&) = delete;
    const uint8_t* Data() const
    {
        return data_;
    }

  private:
    static constexpr size_t kPage = 4096;
    uint8_t* base_ = nullptr;
    uint8_t* data_ = nullptr;
};

TEST(ExpressionLimits, AConditionListShorterThanItsCountsIsRefusedWithoutReadingPastIt)
{
    dbtest::ScratchFolder folder;
    dbtest::Engine engine;
    NumberFields fields;
    mgFieldTable table = fields.Table();
    struct Case {
        const char* why;
        Bytes body;
    };
    const Case cases[] = {
        {"shorter than its two counts", Bytes{1, 0}},
        {"counts whose first entry passes the end", Bytes{1, 0, 0, 0, 1, 0}},
        {"two entries counted, one there", Bytes{2, 0, 0, 0, 1, 0, 4, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        PageEnd body(c.body);
        EXPECT_EQ(nullptr, mgCompileExpressionList(0, body.Data(), uint32_t(c.body.size()), table));
        EXPECT_EQ(kMgExpressionInvalid, mgCtx()->uerr_cod);
    }
}

} // namespace exprlimits
