// Conditional expressions: the lexer's tokens, the parser's precedence, types and
// refusals, the evaluator's operations on records (bounded field reads, no trapping
// arithmetic), the expression list of a resource that lies about its lengths, and a
// conditional index of a real data file.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#include "database/mgBytes.h"
#include "database/mgCondition.h"
#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgInstance.h"
#include "database/mgNode.h"
#include "database/mgRecord.h"
#include "database/mgResource.h"
#include "database/mgRuntime.h"
#include "database_test_support.h"

using namespace dbtest;

namespace {

using Bytes = std::vector<uint8_t>;

struct Token {
    int code;
    std::string value; // a field name, a string's characters, or a number as text
};

std::vector<Token> Tokens(const std::string& text)
{
    mgScanner scanner;
    mgScannerStart(&scanner, text.data(), int(text.size()));
    std::vector<Token> tokens;
    for (int guard = 0; guard < 64; ++guard) {
        mgToken t;
        int code = mgNextToken(&scanner, &t);
        if (code == kMgTokEnd)
            break;
        Token token{code, ""};
        if (code == kMgTokField && t.text) {
            token.value = reinterpret_cast<const char*>(t.text);
        } else if (code == kMgTokString && t.text) {
            token.value.assign(reinterpret_cast<const char*>(t.text) + 2, mgGet16(t.text));
        } else if (code == kMgTokInt) {
            token.value = std::to_string(t.i);
        } else if (code == kMgTokUnsigned) {
            token.value = std::to_string(t.u);
        } else if (code == kMgTokDouble) {
            char number[64];
            snprintf(number, sizeof number, "%.17g", t.d);
            token.value = number;
        }
        if (t.text)
            mgFree(t.text);
        tokens.push_back(token);
    }
    return tokens;
}

std::string Describe(const std::vector<Token>& tokens)
{
    std::string text;
    for (const Token& t : tokens)
        text += std::to_string(t.code) + (t.value.empty() ? "" : ":" + t.value) + " ";
    return text;
}

TEST(ExpressionLexer, ReadsNumbersNamesStringsAndOperators)
{
    struct Case {
        const char* why;
        std::string text;
        std::string tokens;
    };
    const Case cases[] = {
        {"an integer", "123", "259:123 "},
        {"above the largest integer: unsigned", "2147483648", "260:2147483648 "},
        {"above the largest unsigned: double", "4294967296", "261:4294967296 "},
        {"eleven digits: double", "12345678901", "261:12345678901 "},
        {"unsigned suffix", "123u", "260:123 "},
        {"leading zeros are not octal", "0017", "259:17 "},
        {"hexadecimal", "0x1F", "259:31 "},
        {"hexadecimal modulo 2^32", "0x100000001", "259:1 "},
        {"hexadecimal unsigned", "0xFFFFFFFFU", "260:4294967295 "},
        {"an exponent needs fraction digits", "1e5", "259:1 257:e5 "},
        {"fraction with exponent", "1.5e-3", "261:0.0015 "},
        {"point first", ".5", "261:0.5 "},
        {"point last", "5.", "261:5 "},
        {"a character", "'a'", "259:97 "},
        {"an escape", "'\\n'", "259:10 "},
        {"an escape of any other character", "'\\q'", "259:113 "},
        {"a hexadecimal escape", "'\\x41'", "259:65 "},
        {"a string with a hexadecimal escape", "\"\\x41B\"", "258:AB "},
        {"a string with escapes", "\"a\\\"b\\tc\"", "258:a\"b\tc "},
        {"a function name in lower case", "atoi", "274 "},
        {"the last function name", "memcmp", "288 "},
        {"a function name in another case is a field", "Atoi", "257:Atoi "},
        {"cast keywords in any case", "iNt unsigned LONG Double", "270 271 272 273 "},
        {"a point inside a name", "A.b", "257:A.b "},
        {"a character no name holds", "x$y", "257:x 36 257:y "},
        {"two-character operators", "&& || < <= == != > >=", "262 263 264 265 266 267 268 269 "},
        {"one-character operators", "+-*/%&|^~!(),", "43 45 42 47 37 38 124 94 126 33 40 41 44 "},
        {"white space of every kind", " \t\n\v\f\r7", "259:7 "},
    };
    Engine engine;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.tokens, Describe(Tokens(c.text)));
    }
    // A token of 100 characters or more ends the input.
    std::vector<Token> longName = Tokens("1 + " + std::string(120, 'n') + " + 2");
    ASSERT_EQ(2u, longName.size()) << Describe(longName);
    EXPECT_EQ(kMgTokInt, longName[0].code);
    EXPECT_EQ('+', longName[1].code);
}

// The fields the expressions see, laid out one after another (alignment 1): i (i32) at 0,
// u (u32) at 4, d (double) at 8, name (8 characters) at 16, tag (text up to '|' within 6)
// at 24, flag (bool) at 30, rest (text up to '|') at 31.
class Fields {
  public:
    Fields()
    {
        struct Field {
            const char* name;
            uint16_t length;
            uint8_t type;
        };
        const Field fields[] = {{"i", 4, 51},     {"u", 4, 59},    {"d", 8, 103}, {"name", 8, 128},
                                {"tag", 6, 144}, {"flag", 1, 8}, {"rest", 0, 146}};
        description_.assign(16, 0);
        description_[1] = 1;
        description_[2] = '|';
        mgPut32(description_.data() + 8, 7);
        mgPut32(description_.data() + 12, 7);
        for (const Field& f : fields) {
            uint8_t entry[4];
            mgPut16(entry, f.length);
            entry[2] = f.type;
            entry[3] = 0;
            description_.insert(description_.end(), entry, entry + 4);
            names_.push_back(uint8_t(strlen(f.name) + 2));
            names_.insert(names_.end(), f.name, f.name + strlen(f.name) + 1);
        }
    }
    mgFieldTable Table() const
    {
        return mgFieldTable{description_.data(), uint32_t(description_.size()), names_.data(),
                            uint32_t(names_.size())};
    }
    const Bytes& Description() const
    {
        return description_;
    }
    const Bytes& Names() const
    {
        return names_;
    }

    struct Values {
        int32_t i = 0;
        uint32_t u = 0;
        double d = 0;
        std::string name = "abc";
        std::string tag = "ab";
        uint8_t flag = 0;
        std::string rest = "xyz";
    };
    static Bytes Record(const Values& v)
    {
        Bytes r(31, ' ');
        memcpy(r.data(), &v.i, 4);
        memcpy(r.data() + 4, &v.u, 4);
        memcpy(r.data() + 8, &v.d, 8);
        memcpy(r.data() + 16, v.name.data(), v.name.size() < 8 ? v.name.size() : 8);
        memcpy(r.data() + 24, v.tag.data(), v.tag.size() < 6 ? v.tag.size() : 6);
        if (v.tag.size() < 6)
            r[24 + v.tag.size()] = '|';
        r[30] = v.flag;
        r.insert(r.end(), v.rest.begin(), v.rest.end());
        return r;
    }

  private:
    Bytes description_;
    Bytes names_;
};

struct Outcome {
    int compileStatus;
    uint16_t value;
    uint16_t status;
};

Outcome Evaluate(const Fields& fields, const std::string& text, const Bytes& record)
{
    mgFieldTable table = fields.Table();
    mgExprNode* tree = mgCompileExpression(table, text.data(), int(text.size()));
    Outcome outcome{mgCtx()->exprStatus, 0, 0};
    if (!tree)
        return outcome;
    if (!mgCtx()->exprStack)
        mgCtx()->exprStack = static_cast<uint64_t*>(mgCalloc(512, 8));
    outcome.value = mgEvaluateExpression(tree, record.data(), uint32_t(record.size()), table);
    outcome.status = mgCtx()->exprStatus;
    mgFreeExpression(tree);
    return outcome;
}

struct EvalCase {
    const char* why;
    std::string text;
    Fields::Values values;
    int compileStatus;
    uint16_t value;
    uint16_t status;
};

Fields::Values With(std::function<void(Fields::Values&)> set)
{
    Fields::Values v;
    set(v);
    return v;
}

TEST(Expressions, CompileAndEvaluateAsTheLanguageSays)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const EvalCase cases[] = {
        {"subtraction groups to the left", "10 - 3 - 2 == 5", {}, 0, 1, 0},
        {"multiplication before addition", "2 + 3 * 4 == 14", {}, 0, 1, 0},
        {"and before or", "1 || 0 && 0", {}, 0, 1, 0},
        {"xor before bitwise or", "(6 | 3 ^ 5) == 6", {}, 0, 1, 0},
        {"and before xor", "(1 ^ 3 & 2) == 3", {}, 0, 1, 0},
        {"unary minus and bitwise not", "-i == ~i + 1", With([](Fields::Values& v) { v.i = 77; }), 0, 1, 0},
        {"a cast applies to the operand after it", "(INT) d * 2 == 4", With([](Fields::Values& v) { v.d = 2.75; }),
         0, 1, 0},
        {"without the cast the double is multiplied", "d * 2 == 5.5", With([](Fields::Values& v) { v.d = 2.75; }),
         0, 1, 0},
        {"unsigned comparison", "u > 1", With([](Fields::Values& v) { v.u = 0xFFFFFFFFu; }), 0, 1, 0},
        {"mixed signed and unsigned compare as unsigned", "i < u",
         With([](Fields::Values& v) { v.i = -1; v.u = 5; }), 0, 0, 0},
        {"a boolean field reads non-zero as 1", "flag == 1", With([](Fields::Values& v) { v.flag = 7; }), 0, 1, 0},
        {"a double of 0.5 is false as a whole expression", "d", With([](Fields::Values& v) { v.d = 0.5; }), 0, 0,
         0},
        {"although its logical not is 0", "!d", With([](Fields::Values& v) { v.d = 0.5; }), 0, 0, 0},
        {"a double of 1.0 is true", "d", With([](Fields::Values& v) { v.d = 1.0; }), 0, 1, 0},
        {"strlen of a fixed string is its declared length", "strlen(name) == 8", {}, 0, 1, 0},
        {"strlen of a delimited string stops at the delimiter", "strlen(tag) == 2", {}, 0, 1, 0},
        {"strlen of a string ended by the delimiter", "strlen(rest) == 0",
         With([](Fields::Values& v) { v.rest = "|tail"; }), 0, 1, 0},
        {"the longer string is the greater", "strcmp(\"ab\", \"b\") == 1", {}, 0, 1, 0},
        {"strings of one length by their characters", "strcmp(\"ab\", \"ac\") == -1", {}, 0, 1, 0},
        {"stricmp ignores case", "stricmp(tag, \"AB\") == 0", {}, 0, 1, 0},
        {"strncmp within n", "strncmp(\"abc\", \"abd\", 2) == 0", {}, 0, 1, 0},
        {"strncmp at the difference", "strncmp(\"abc\", \"abd\", 3) == -1", {}, 0, 1, 0},
        {"strnicmp", "strnicmp(\"ABc\", \"abD\", 2) == 0", {}, 0, 1, 0},
        {"memcmp of a shorter first string", "memcmp(tag, \"abc\", 3) == -1", {}, 0, 1, 0},
        {"memcmp of equal bytes", "memcmp(tag, \"abz\", 2) == 0", {}, 0, 1, 0},
        {"atoi", "atoi(\" -42\") == -42", {}, 0, 1, 0},
        {"atoi of 200 digits is 0", "atoi(rest) == 0",
         With([](Fields::Values& v) { v.rest = std::string(200, '7') + "|"; }), 0, 1, 0},
        {"atoi of a few digits", "atoi(rest) == 777", With([](Fields::Values& v) { v.rest = "777|"; }), 0, 1, 0},
        {"atof", "atof(\"2.5\") == 2.5", {}, 0, 1, 0},
        {"fmod, floor, ceil, fabs", "fmod(7.5, 2) == 1.5 && floor(-1.5) == -2 && ceil(1.2) == 2 && fabs(-3) == 3",
         {}, 0, 1, 0},
        {"abs and labs", "abs(-5) == 5 && labs(i) == 9", With([](Fields::Values& v) { v.i = -9; }), 0, 1, 0},
        {"remainder takes the dividend's sign", "-7 % 3 == -1", {}, 0, 1, 0},
        {"integer division truncates toward zero", "-7 / 2 == -3", {}, 0, 1, 0},
        {"division by zero", "10 / 0", {}, 0, 0, 9},
        {"remainder by zero", "10 % 0", {}, 0, 0, 9},
        {"double division by zero", "1.5 / 0", {}, 0, 0, 9},
        {"fmod by zero", "fmod(1.5, 0)", {}, 0, 0, 9},
        {"or evaluates both sides", "1 || 10 / 0", {}, 0, 0, 9},
        {"a string as a truth value", "\"x\"", {}, 0, 1, 0},
        // Sound arithmetic where the processor would trap or the result is undefined.
        {"the smallest integer divided by -1 wraps to itself", "i / -1 == i",
         With([](Fields::Values& v) { v.i = INT_MIN; }), 0, 1, 0},
        {"and its remainder is 0", "i % -1 == 0", With([](Fields::Values& v) { v.i = INT_MIN; }), 0, 1, 0},
        {"a double above the integers converts to the largest", "(INT) d == 2147483647",
         With([](Fields::Values& v) { v.d = 1e20; }), 0, 1, 0},
        {"a double below the integers converts to the smallest", "(INT) d == i",
         With([](Fields::Values& v) { v.d = -1e20; v.i = INT_MIN; }), 0, 1, 0},
        {"NaN converts to 0", "(INT) d == 0", With([](Fields::Values& v) { v.d = std::nan(""); }), 0, 1, 0},
        {"NaN to unsigned is 0", "(UNSIGNED) d == 0", With([nan](Fields::Values& v) { v.d = nan; }), 0, 1, 0},
        // Refused at compile time.
        {"strlen of a number", "strlen(i)", {}, 1, 0, 0},
        {"strings compared with ==", "name == tag", {}, 1, 0, 0},
        {"a string in arithmetic", "name + 1", {}, 1, 0, 0},
        {"a field that is not named", "zz > 1", {}, 1, 0, 0},
        {"a text that ends in the middle", "1 +", {}, 1, 0, 0},
        {"the empty text", "", {}, 1, 0, 0},
        {"a character no expression uses", "i $ 2", {}, 1, 0, 0},
        {"a cast keyword pair that is not a cast", "(DOUBLE INT) i", {}, 1, 0, 0},
        {"deeper than the parse stack", std::string(200, '(') + "1" + std::string(200, ')'), {}, 4, 0, 0},
    };
    ScratchFolder folder;
    Engine engine;
    Fields fields;
    for (const EvalCase& c : cases) {
        SCOPED_TRACE(c.why);
        Outcome outcome = Evaluate(fields, c.text, Fields::Record(c.values));
        ASSERT_EQ(c.compileStatus, outcome.compileStatus);
        EXPECT_EQ(c.value, outcome.value);
        EXPECT_EQ(c.status, outcome.status);
    }
}

// The evaluator is given the record's length: no field is read past it, and the string
// comparisons read nothing at or past a string's length.
TEST(Expressions, ReadNothingOutsideTheRecord)
{
    ScratchFolder folder;
    Engine engine;
    Fields fields;
    Bytes record = Fields::Record({});
    // A record that ends inside a field: status 10, no value.
    Outcome shortRecord = Evaluate(fields, "u > 0", Bytes(record.begin(), record.begin() + 6));
    EXPECT_EQ(10, shortRecord.status);
    EXPECT_EQ(0, shortRecord.value);
    Outcome noDouble = Evaluate(fields, "d > 0", Bytes(record.begin(), record.begin() + 12));
    EXPECT_EQ(10, noDouble.status);
    // A string ended by the delimiter, whose delimiter is not in the record.
    Fields::Values open;
    open.rest = "no delimiter";
    EXPECT_EQ(10, Evaluate(fields, "strlen(rest) > 0", Fields::Record(open)).status);
    // A delimited string whose record stops inside its declared width does not fit.
    Bytes cut(record.begin(), record.begin() + 26);
    Outcome partial = Evaluate(fields, "strlen(tag) == 2", cut);
    EXPECT_EQ(10, partial.status);
    EXPECT_EQ(0, partial.value);
    // strncmp past the field's end: the position at its length reads as 0, as a constant's
    // terminating NUL does, so "ab" in the record equals the constant "ab" for any n.
    EXPECT_EQ(1, Evaluate(fields, "strncmp(tag, \"ab\", 5) == 0", record).value);
    EXPECT_EQ(1, Evaluate(fields, "strnicmp(\"AB\", tag, 50) == 0", record).value);
    // No record at all.
    mgFieldTable table = fields.Table();
    std::string text = "i > 0";
    mgExprNode* tree = mgCompileExpression(table, text.data(), int(text.size()));
    ASSERT_NE(nullptr, tree);
    EXPECT_EQ(-int16_t(kMgEvaluationFailed), mgEvaluateSingleCondition(tree, nullptr, 0, table));
    mgFreeExpression(tree);
}

// A conditional-expression resource body: entries (key number, text length) and texts.
Bytes Body(const std::vector<std::pair<uint16_t, std::string>>& entries, int countB = 0)
{
    Bytes body(4, 0);
    mgPut16(body.data(), uint16_t(entries.size() - size_t(countB)));
    mgPut16(body.data() + 2, uint16_t(countB));
    for (const auto& entry : entries) {
        uint8_t item[8] = {};
        mgPut16(item, entry.first);
        mgPut16(item + 2, uint16_t(entry.second.size() + 1));
        body.insert(body.end(), item, item + 8);
    }
    for (const auto& entry : entries)
        body.insert(body.end(), entry.second.c_str(), entry.second.c_str() + entry.second.size() + 1);
    return body;
}

TEST(ExpressionList, RefusesAResourceThatLiesAboutItsLengths)
{
    ScratchFolder folder;
    Engine engine;
    Fields fields;
    mgFieldTable table = fields.Table();
    Bytes good = Body({{1, "i > 3"}, {2, "flag"}, {0, "u == 2"}}, 1);
    mgExprList* list = mgCompileExpressionList(0, good.data(), uint32_t(good.size()), table);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(2, list->countA);
    EXPECT_EQ(1, list->countB);
    Fields::Values values;
    values.i = 4;
    Bytes record = Fields::Record(values);
    EXPECT_EQ(1, mgEvaluateKeyCondition(list, 1, record.data(), uint32_t(record.size()), table));
    EXPECT_EQ(0, mgEvaluateKeyCondition(list, 2, record.data(), uint32_t(record.size()), table));
    // Group B is compiled but never evaluated: key 0 has no condition of group A.
    EXPECT_EQ(-int16_t(kMgEvaluationFailed),
              mgEvaluateKeyCondition(list, 0, record.data(), uint32_t(record.size()), table));
    mgFreeExpressionList(list);

    struct Case {
        const char* why;
        Bytes body;
        uint16_t error;
    };
    Bytes manyEntries = good;
    mgPut16(manyEntries.data(), 200);
    Bytes noTerminator = Body({{1, "i > 3"}});
    noTerminator.pop_back();
    Bytes longText = Body({{1, "i > 3"}, {2, "flag"}});
    mgPut16(longText.data() + 4 + 2, 4000);
    Bytes zeroText = Body({{1, "i > 3"}, {2, "flag"}});
    mgPut16(zeroText.data() + 4 + 2, 0);
    const Case cases[] = {
        {"counts whose entry table passes the resource", manyEntries, kMgExpressionInvalid},
        {"a text without its NUL inside the resource", noTerminator, kMgExpressionInvalid},
        {"a text length that leads past the resource", longText, kMgExpressionInvalid},
        {"a text length of 0 before another text", zeroText, kMgExpressionInvalid},
        {"a body shorter than its counts", Bytes{1, 0}, kMgExpressionInvalid},
        {"a text that does not compile", Body({{1, "i >"}}), kMgExpressionInvalid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(nullptr, mgCompileExpressionList(0, c.body.data(), uint32_t(c.body.size()), table));
        EXPECT_EQ(c.error, mgCtx()->uerr_cod);
    }
    mgFieldTable noNames{table.description, table.descriptionLength, nullptr, 0};
    EXPECT_EQ(nullptr, mgCompileExpressionList(0, good.data(), uint32_t(good.size()), noNames));
    EXPECT_EQ(kMgNoFieldNames, mgCtx()->uerr_cod);
}

// A data file whose second index holds only the records whose condition is true; the
// condition comes with the file (its record layout, field names and expression resource).
class ConditionalSet {
  public:
    ConditionalSet(const ScratchFolder& folder, const Bytes& body) : path_(folder.File("cond"))
    {
        set_ = TwoIndexSet(path_, 64, 0);
        if ((created_ = mgCreateFileSet(set_.Build())) != 0)
            return;
        int data = set_.def.setFileNumber;
        // MakeRecord's layout: lead byte, a (i32) at 1, b (16 characters) at 5.
        Bytes description(16, 0);
        description[1] = 1;
        mgPut32(description.data() + 8, 3);
        mgPut32(description.data() + 12, 3);
        const uint8_t entries[3][4] = {{1, 0, 24, 0}, {4, 0, 51, 0}, {16, 0, 128, 0}};
        for (const auto& entry : entries)
            description.insert(description.end(), entry, entry + 4);
        Bytes names = {3, 'l', 0, 3, 'a', 0, 3, 'b', 0};
        mgDefinitionPart layout{description.data(), uint32_t(description.size()), 0, 1, 1};
        mgDefinitionPart named{names.data(), uint32_t(names.size()), 0, 2, 1};
        Bytes resource(16 + body.size(), 0);
        mgPut32(resource.data(), 12);
        mgPut32(resource.data() + 4, 1);
        std::copy(body.begin(), body.end(), resource.begin() + 16);
        if ((created_ = int16_t(mgPutDefinitionPart(data, &layout, 0))) != 0 ||
            (created_ = int16_t(mgPutDefinitionPart(data, &named, 0))) != 0 ||
            (created_ = int16_t(mgAddResource(data, resource.data(), uint32_t(resource.size())))) != 0)
            return;
        created_ = int16_t(mgCloseFileSet(&set_.def));
    }
    int16_t Created() const
    {
        return created_;
    }
    // The set's data file number, or -1 with the answer in *error.
    int Open(uint16_t* error) const
    {
        int data = mgOpenFileSetFromResource(-1, (path_ + ".dat").c_str(), 0);
        *error = data < 0 ? mgCtx()->isam_code : 0;
        return data;
    }

  private:
    std::string path_;
    SetDefinition set_;
    int16_t created_ = -1;
};

TEST(ConditionalIndex, HoldsOnlyTheRecordsWhoseConditionIsTrue)
{
    ScratchFolder folder;
    Engine engine;
    ConditionalSet set(folder, Body({{1, "a > 100 && strncmp(b, \"keep\", 4) == 0"}}));
    ASSERT_EQ(0, set.Created()) << mgCtx()->isam_code;
    uint16_t error = 0;
    int data = set.Open(&error);
    ASSERT_GE(data, 0) << error;
    EXPECT_EQ(16, mgIsKeyConditional(data, 1));
    EXPECT_EQ(0, mgIsKeyConditional(data, 0));
    struct Row {
        uint32_t a;
        const char* b;
        bool inIndex;
    };
    const Row rows[] = {{5, "keep", false}, {150, "keep", true}, {200, "drop", false}, {300, "keeper", true}};
    for (const Row& row : rows) {
        Bytes record = MakeRecord(row.a, row.b);
        ASSERT_EQ(0, mgAddRecord(uint16_t(data), record.data())) << row.a;
    }
    EXPECT_EQ(4u, mgKeyCount(data + 1));
    EXPECT_EQ(2u, mgKeyCount(data + 2));
    Bytes found(64);
    std::vector<uint32_t> walked;
    for (int16_t answer = mgFirstRecord(uint16_t(data + 2), found.data()); answer == 0;
         answer = mgNextRecord(uint16_t(data + 2), found.data()))
        walked.push_back(mgGet32(found.data() + 1));
    EXPECT_EQ(std::vector<uint32_t>({150, 300}), walked);
    // A rewrite that makes the condition false takes the record out of the index.
    ASSERT_EQ(0, FindByKey(data + 1, MakeRecord(150, ""), found));
    Bytes changed = MakeRecord(150, "gone");
    ASSERT_EQ(0, mgRewriteRecord(uint16_t(data), changed.data()));
    EXPECT_EQ(1u, mgKeyCount(data + 2));
    EXPECT_EQ(0, mgCloseFileSetByNumber(uint16_t(data)));
}

TEST(ConditionalIndex, AFileWhoseExpressionsDoNotLoadIsRefused)
{
    struct Case {
        const char* why;
        Bytes body;
    };
    Bytes lying = Body({{1, "a > 1"}, {1, "a > 2"}});
    mgPut16(lying.data() + 4 + 2, 900);
    const Case cases[] = {
        {"a field not among the names", Body({{1, "missing > 1"}})},
        {"a text length that leads past the resource", lying},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ScratchFolder folder;
        Engine engine;
        ConditionalSet set(folder, c.body);
        ASSERT_EQ(0, set.Created()) << mgCtx()->isam_code;
        uint16_t error = 0;
        EXPECT_LT(set.Open(&error), 0);
        EXPECT_EQ(kMgExpressionInvalid, error);
    }
}

} // namespace
