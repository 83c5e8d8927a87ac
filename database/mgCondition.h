// Conditional indexes: expressions stored as text in a data file's resource of type 12,
// compiled when the file opens (lexer, LALR-style parser into expression trees) and
// evaluated on every record whose key is built, so that an index holds a key only for
// the records whose condition is true.
//
// Conditional-expression resource body: u16 count A, u16 count B, (A + B) entries of
// u16 key number, u16 text length, 4 bytes not read; then the texts, each NUL-terminated.
// Field description (definition part 1): 1 u8 alignment, 2 u8 delimiter, 8 u32 fields,
// 12 u32 entries, 16 entries of u16 declared length, u8 type code, u8 repeat count.
// Field names (part 2): per field a length byte L (counting itself) and L - 1 bytes of name.
// Invariant: every offset, count and length taken from these resources, and every field
// read from a record, is checked against the size of what holds it; an expression never
// reads outside its record and never traps.
#pragma once

#include <cstdint>

#include "database/mgContext.h"

struct mgFileControl;

// Value types of expression nodes.
constexpr uint16_t kMgExprInt = 2;
constexpr uint16_t kMgExprUnsigned = 3;
constexpr uint16_t kMgExprDouble = 4;
constexpr uint16_t kMgExprString = 5;

// Token codes of the lexer.
enum : int {
    kMgTokEnd = 0,
    kMgTokField = 257,
    kMgTokString = 258,
    kMgTokInt = 259,
    kMgTokUnsigned = 260,
    kMgTokDouble = 261,
    kMgTokAndAnd = 262,
    kMgTokOrOr = 263,
    kMgTokLess = 264,
    kMgTokLessEqual = 265,
    kMgTokEqual = 266,
    kMgTokNotEqual = 267,
    kMgTokGreater = 268,
    kMgTokGreaterEqual = 269,
    kMgTokCastInt = 270,
    kMgTokCastUnsigned = 271,
    kMgTokCastLong = 272,
    kMgTokCastDouble = 273,
    kMgTokFirstFunction = 274,
    kMgTokLastFunction = 288,
};

// One expression node (memory only).
struct mgExprNode {
    mgExprNode* left;
    mgExprNode* right;
    uint16_t operation;
    uint16_t type;
    int32_t field;
    union {
        int32_t i;
        uint32_t u;
        double d;
    } value;
    // A string constant: u16 length, the characters, NUL.
    uint8_t* text;
};

// A token and its value; a string or field name is owned by the receiver (mgFree).
struct mgToken {
    int code;
    int32_t i;
    uint32_t u;
    double d;
    uint8_t* text;
};

struct mgScanner {
    const char* text;
    int length;
    int position;
    int line;
};

struct mgExprEntry {
    uint16_t keyNumber;
    uint16_t textLength;
    mgExprNode* tree;
};

struct mgExprList {
    uint16_t countA;
    uint16_t countB;
    mgExprEntry* groupA;
    mgExprEntry* groupB;
};

// Field description and names as the compiler and evaluator see them.
struct mgFieldTable {
    const uint8_t* description;
    uint32_t descriptionLength;
    const uint8_t* names;
    uint32_t namesLength;
};

// Lexer.
void mgScannerStart(mgScanner* scanner, const char* text, int length);
int mgNextToken(mgScanner* scanner, mgToken* token);

// Parser; the status goes to the instance's expression status word.
mgExprNode* mgCompileExpression(const mgFieldTable& fields, const char* text, int length);
void mgFreeExpression(mgExprNode* tree);

// Evaluation: the truth value (low 16 bits of the top slot); the status word holds the code.
uint16_t mgEvaluateExpression(mgExprNode* tree, const uint8_t* record, uint32_t recordLength,
                              const mgFieldTable& fields);

// Conditional index resources.
uint16_t mgLoadConditions(mgFileControl* f);
void mgFreeConditions(mgFileControl* f);
mgExprList* mgCompileExpressionList(int dataFile, const uint8_t* body, uint32_t bodyLength, const mgFieldTable& fields);
void mgFreeExpressionList(mgExprList* list);
int16_t mgEvaluateKeyCondition(mgExprList* list, int keyNumber, const uint8_t* record, uint32_t recordLength,
                               const mgFieldTable& fields);
int16_t mgEvaluateSingleCondition(mgExprNode* tree, const uint8_t* record, uint32_t recordLength,
                                  const mgFieldTable& fields);
uint16_t mgIsKeyConditional(int dataFile, int keyNumber);
uint32_t mgReadFieldDescription(int dataFile, uint32_t size, void* buffer, int alignment, int mode, int reserved);
// The field description and names of an open data file (empty when it has none).
mgFieldTable mgFieldsOf(mgFileControl* f);
