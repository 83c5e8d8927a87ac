// Parser of conditional-key expressions: operator precedence from logical or (lowest) to
// the unary operators, casts and function calls, building one node per reduction with
// conversion nodes where operand types differ, field names resolved against the data
// file's field names; the tree always ends in a truth test.
// The parse stack is bounded (150 entries, like the table parser it stands for): deeper
// nesting answers status 4 instead of exhausting the program's stack.
#include "database/mgCondition.h"

#include <cstring>

#include "database/mgBytes.h"
#include "database/mgRuntime.h"

namespace {

constexpr int kStackLimit = 150;

struct Parser {
    mgScanner scanner;
    mgToken look{};
    const mgFieldTable* fields;
    int status = 0;
    int depth = 0;
    // Every node made, so that a failed parse frees what no tree holds.
    mgExprNode** made = nullptr;
    int madeCount = 0;
    int madeCapacity = 0;
};

void Advance(Parser& p)
{
    if (p.look.text && (p.look.code == kMgTokField || p.look.code == kMgTokString))
        mgFree(p.look.text);
    p.look = mgToken{};
    mgNextToken(&p.scanner, &p.look);
}

void Fail(Parser& p, int status)
{
    if (p.status == 0)
        p.status = status;
}

mgExprNode* Make(Parser& p, uint16_t operation, uint16_t type, mgExprNode* left = nullptr, mgExprNode* right = nullptr)
{
    auto* node = static_cast<mgExprNode*>(mgAlloc(sizeof(mgExprNode)));
    if (!node) {
        Fail(p, 1);
        return nullptr;
    }
    if (p.madeCount == p.madeCapacity) {
        int capacity = p.madeCapacity ? p.madeCapacity * 2 : 32;
        auto** grown = static_cast<mgExprNode**>(mgAlloc((long long)sizeof(mgExprNode*) * capacity));
        if (!grown) {
            mgFree(node);
            Fail(p, 1);
            return nullptr;
        }
        if (p.made)
            memcpy(grown, p.made, sizeof(mgExprNode*) * size_t(p.madeCount));
        mgFree(p.made);
        p.made = grown;
        p.madeCapacity = capacity;
    }
    p.made[p.madeCount++] = node;
    node->operation = operation;
    node->type = type;
    node->left = left;
    node->right = right;
    return node;
}

mgExprNode* ToInt(Parser& p, mgExprNode* n)
{
    if (!n)
        return nullptr;
    switch (n->type) {
    case kMgExprInt:
        return n;
    case kMgExprUnsigned:
        return Make(p, 9, kMgExprInt, n);
    case kMgExprDouble:
        return Make(p, 10, kMgExprInt, n);
    default:
        return nullptr;
    }
}

mgExprNode* ToUnsigned(Parser& p, mgExprNode* n)
{
    if (!n)
        return nullptr;
    switch (n->type) {
    case kMgExprUnsigned:
        return n;
    case kMgExprInt:
        return Make(p, 7, kMgExprUnsigned, n);
    case kMgExprDouble:
        return Make(p, 11, kMgExprUnsigned, n);
    default:
        return nullptr;
    }
}

mgExprNode* ToDouble(Parser& p, mgExprNode* n)
{
    if (!n)
        return nullptr;
    switch (n->type) {
    case kMgExprDouble:
        return n;
    case kMgExprInt:
        return Make(p, 6, kMgExprDouble, n);
    case kMgExprUnsigned:
        return Make(p, 8, kMgExprDouble, n);
    default:
        return nullptr;
    }
}

uint16_t CommonType(const mgExprNode* a, const mgExprNode* b)
{
    if (a->type == kMgExprString || b->type == kMgExprString)
        return kMgExprString;
    if (a->type == kMgExprDouble || b->type == kMgExprDouble)
        return kMgExprDouble;
    if (a->type == kMgExprUnsigned || b->type == kMgExprUnsigned)
        return kMgExprUnsigned;
    return kMgExprInt;
}

// Arithmetic (compare = false) and comparison (compare = true) builders.
mgExprNode* Arithmetic(Parser& p, int opInt, int opUns, int opDbl, mgExprNode* a, mgExprNode* b, bool compare)
{
    if (!a || !b)
        return nullptr;
    switch (CommonType(a, b)) {
    case kMgExprInt:
        return Make(p, uint16_t(opInt), kMgExprInt, ToInt(p, a), ToInt(p, b));
    case kMgExprUnsigned:
        return Make(p, uint16_t(opUns), kMgExprInt, ToUnsigned(p, a), ToUnsigned(p, b));
    case kMgExprDouble:
        return Make(p, uint16_t(opDbl), compare ? kMgExprInt : kMgExprDouble, ToDouble(p, a), ToDouble(p, b));
    default:
        return nullptr;
    }
}

mgExprNode* Bitwise(Parser& p, int opInt, int opUns, mgExprNode* a, mgExprNode* b)
{
    if (!a || !b)
        return nullptr;
    switch (CommonType(a, b)) {
    case kMgExprInt:
        return Make(p, uint16_t(opInt), kMgExprInt, a, b);
    case kMgExprUnsigned:
        return Make(p, uint16_t(opUns), kMgExprUnsigned, ToUnsigned(p, a), ToUnsigned(p, b));
    default:
        return nullptr;
    }
}

mgExprNode* Logical(Parser& p, int opInt, int opUns, int opDbl, mgExprNode* a, mgExprNode* b)
{
    if (!a || !b)
        return nullptr;
    switch (CommonType(a, b)) {
    case kMgExprUnsigned:
        return Make(p, uint16_t(opUns), kMgExprInt, ToUnsigned(p, a), ToUnsigned(p, b));
    case kMgExprDouble:
        return Make(p, uint16_t(opDbl), kMgExprInt, ToDouble(p, a), ToDouble(p, b));
    default:
        // Over strings the string side yields no node: the tree compiles and its
        // evaluation fails (a missing operand).
        return Make(p, uint16_t(opInt), kMgExprInt, ToInt(p, a), ToInt(p, b));
    }
}

uint16_t FieldType(uint8_t code)
{
    switch (code) {
    case 8:
    case 16:
    case 33:
    case 51:
    case 67:
        return kMgExprInt;
    case 24:
    case 41:
    case 59:
    case 75:
    case 83:
        return kMgExprUnsigned;
    case 91:
    case 103:
    case 124:
        return kMgExprDouble;
    case 128:
    case 144:
    case 146:
    case 152:
    case 154:
    case 160:
    case 162:
    case 168:
    case 170:
        return kMgExprString;
    default:
        return 0;
    }
}

// The index of a field name among the names, or -1.
int FindField(const mgFieldTable& fields, const char* name)
{
    if (!fields.names)
        return -1;
    uint32_t at = 0;
    for (int index = 0; at < fields.namesLength; ++index) {
        uint32_t length = fields.names[at];
        if (length < 1 || at + length > fields.namesLength)
            return -1;
        const char* stored = reinterpret_cast<const char*>(fields.names + at + 1);
        size_t room = length - 1;
        size_t nameLength = strlen(name);
        if (nameLength < room && memcmp(stored, name, nameLength) == 0 && stored[nameLength] == 0)
            return index;
        at += length;
    }
    return -1;
}

mgExprNode* Expression(Parser& p);
mgExprNode* Unary(Parser& p);

bool Expect(Parser& p, int code)
{
    if (p.look.code != code) {
        Fail(p, 1);
        return false;
    }
    Advance(p);
    return true;
}

mgExprNode* FunctionCall(Parser& p, int function)
{
    Advance(p);
    if (!Expect(p, '('))
        return nullptr;
    mgExprNode* args[3] = {};
    int count = 0;
    for (;;) {
        if (count == 3) {
            Fail(p, 1);
            return nullptr;
        }
        args[count++] = Expression(p);
        if (!args[count - 1] || p.status)
            return nullptr;
        if (p.look.code == ',') {
            Advance(p);
            continue;
        }
        break;
    }
    if (!Expect(p, ')'))
        return nullptr;
    auto isString = [](mgExprNode* n) { return n && n->type == kMgExprString; };
    auto numeric = [](mgExprNode* n) { return n && n->type != kMgExprString; };
    int f = function - kMgTokFirstFunction;
    // atoi atol abs labs fabs atof ceil floor fmod strlen strcmp stricmp strncmp strnicmp memcmp
    switch (f) {
    case 0:
    case 1:
    case 5:
        if (count != 1 || !isString(args[0]))
            return nullptr;
        return Make(p, uint16_t(f == 0 ? 25 : f == 1 ? 24 : 26), f == 5 ? kMgExprDouble : kMgExprInt, args[0]);
    case 2:
    case 3:
        if (count != 1 || !numeric(args[0]))
            return nullptr;
        return Make(p, uint16_t(f == 2 ? 23 : 22), kMgExprInt, ToInt(p, args[0]));
    case 4:
    case 6:
    case 7:
        if (count != 1 || !numeric(args[0]))
            return nullptr;
        return Make(p, uint16_t(f == 4 ? 21 : f == 6 ? 20 : 19), kMgExprDouble, ToDouble(p, args[0]));
    case 8:
        if (count != 2 || !numeric(args[0]) || !numeric(args[1]))
            return nullptr;
        return Make(p, 18, kMgExprDouble, ToDouble(p, args[0]), ToDouble(p, args[1]));
    case 9:
        if (count != 1 || !isString(args[0]))
            return nullptr;
        return Make(p, 17, kMgExprInt, args[0]);
    case 10:
    case 11:
        if (count != 2 || !isString(args[0]) || !isString(args[1]))
            return nullptr;
        return Make(p, uint16_t(f == 10 ? 16 : 15), kMgExprInt, args[0], args[1]);
    default: {
        if (count != 3 || !isString(args[0]) || !isString(args[1]) || !numeric(args[2]))
            return nullptr;
        mgExprNode* pair = Make(p, 12, kMgExprString, args[0], args[1]);
        return Make(p, uint16_t(f == 12 ? 14 : f == 13 ? 13 : 85), kMgExprInt, pair, ToInt(p, args[2]));
    }
    }
}

mgExprNode* Primary(Parser& p)
{
    mgToken& t = p.look;
    switch (t.code) {
    case kMgTokInt: {
        mgExprNode* n = Make(p, 2, kMgExprInt);
        if (n)
            n->value.i = t.i;
        Advance(p);
        return n;
    }
    case kMgTokUnsigned: {
        mgExprNode* n = Make(p, 3, kMgExprUnsigned);
        if (n)
            n->value.u = t.u;
        Advance(p);
        return n;
    }
    case kMgTokDouble: {
        mgExprNode* n = Make(p, 4, kMgExprDouble);
        if (n)
            n->value.d = t.d;
        Advance(p);
        return n;
    }
    case kMgTokString: {
        if (!t.text) {
            Fail(p, 1);
            return nullptr;
        }
        mgExprNode* n = Make(p, 5, kMgExprString);
        if (n) {
            n->text = t.text;
            t.text = nullptr;
        }
        Advance(p);
        return n;
    }
    case kMgTokField: {
        if (!t.text) {
            Fail(p, 1);
            return nullptr;
        }
        int index = FindField(*p.fields, reinterpret_cast<const char*>(t.text));
        uint32_t entries = p.fields->descriptionLength >= 16 ? mgGet32(p.fields->description + 12) : 0;
        uint16_t type = 0;
        if (index >= 0 && uint32_t(index) < entries && 16u + 4u * uint32_t(index) + 4 <= p.fields->descriptionLength)
            type = FieldType(p.fields->description[16 + 4 * index + 2]);
        Advance(p);
        if (type == 0) {
            Fail(p, 1);
            return nullptr;
        }
        mgExprNode* n = Make(p, 1, type);
        if (n)
            n->field = index;
        return n;
    }
    case '(': {
        Advance(p);
        if (++p.depth > kStackLimit) {
            Fail(p, 4);
            return nullptr;
        }
        mgExprNode* inner = Expression(p);
        --p.depth;
        if (!inner || !Expect(p, ')'))
            return nullptr;
        return inner;
    }
    default:
        if (t.code >= kMgTokFirstFunction && t.code <= kMgTokLastFunction)
            return FunctionCall(p, t.code);
        Fail(p, 1);
        return nullptr;
    }
}

mgExprNode* Unary(Parser& p)
{
    if (++p.depth > kStackLimit) {
        Fail(p, 4);
        return nullptr;
    }
    mgExprNode* result = nullptr;
    int code = p.look.code;
    if (code == '-' || code == '!' || code == '~') {
        Advance(p);
        mgExprNode* operand = Unary(p);
        if (operand) {
            if (code == '-') {
                if (operand->type == kMgExprDouble)
                    result = Make(p, 28, kMgExprDouble, operand);
                else if (operand->type != kMgExprString)
                    result = Make(p, 27, kMgExprInt, ToInt(p, operand));
            } else if (code == '~') {
                if (operand->type != kMgExprString)
                    result = Make(p, 29, kMgExprInt, ToInt(p, operand));
            } else {
                static const uint16_t kNot[] = {0, 0, 30, 31, 32, 33};
                result = Make(p, kNot[operand->type], kMgExprInt, operand);
            }
        }
    } else if (code == '(') {
        // A cast is "(" and a type keyword; anything else is a parenthesised primary.
        mgScanner saved = p.scanner;
        mgToken next{};
        mgNextToken(&p.scanner, &next);
        p.scanner = saved;
        if (next.text)
            mgFree(next.text);
        if (next.code >= kMgTokCastInt && next.code <= kMgTokCastDouble) {
            Advance(p);
            int cast = p.look.code;
            Advance(p);
            if (cast == kMgTokCastUnsigned && (p.look.code == kMgTokCastInt || p.look.code == kMgTokCastLong))
                Advance(p);
            if (Expect(p, ')')) {
                mgExprNode* operand = Unary(p);
                if (cast == kMgTokCastInt || cast == kMgTokCastLong)
                    result = ToInt(p, operand);
                else if (cast == kMgTokCastUnsigned)
                    result = ToUnsigned(p, operand);
                else
                    result = ToDouble(p, operand);
            }
        } else {
            result = Primary(p);
        }
    } else {
        result = Primary(p);
    }
    --p.depth;
    if (!result)
        Fail(p, 1);
    return result;
}

// One level of left-associative binary operators.
using Next = mgExprNode* (*)(Parser&);

mgExprNode* Multiplicative(Parser& p)
{
    mgExprNode* a = Unary(p);
    while (a && !p.status && (p.look.code == '*' || p.look.code == '/' || p.look.code == '%')) {
        int op = p.look.code;
        Advance(p);
        mgExprNode* b = Unary(p);
        a = op == '*' ? Arithmetic(p, 40, 41, 42, a, b, false)
            : op == '/' ? Arithmetic(p, 43, 44, 45, a, b, false)
                        : Arithmetic(p, 46, 47, 48, a, b, false);
    }
    return a;
}

mgExprNode* Additive(Parser& p)
{
    mgExprNode* a = Multiplicative(p);
    while (a && !p.status && (p.look.code == '+' || p.look.code == '-')) {
        int op = p.look.code;
        Advance(p);
        mgExprNode* b = Multiplicative(p);
        a = op == '+' ? Arithmetic(p, 34, 35, 36, a, b, false) : Arithmetic(p, 37, 38, 39, a, b, false);
    }
    return a;
}

mgExprNode* Relational(Parser& p)
{
    mgExprNode* a = Additive(p);
    for (;;) {
        int op = p.look.code;
        if (!a || p.status ||
            (op != kMgTokLess && op != kMgTokGreater && op != kMgTokLessEqual && op != kMgTokGreaterEqual))
            return a;
        Advance(p);
        mgExprNode* b = Additive(p);
        if (op == kMgTokLess)
            a = Arithmetic(p, 49, 50, 51, a, b, true);
        else if (op == kMgTokGreater)
            a = Arithmetic(p, 61, 62, 63, a, b, true);
        else if (op == kMgTokLessEqual)
            a = Arithmetic(p, 52, 53, 54, a, b, true);
        else
            a = Arithmetic(p, 64, 65, 66, a, b, true);
    }
}

mgExprNode* Equality(Parser& p)
{
    mgExprNode* a = Relational(p);
    while (a && !p.status && (p.look.code == kMgTokEqual || p.look.code == kMgTokNotEqual)) {
        int op = p.look.code;
        Advance(p);
        mgExprNode* b = Relational(p);
        a = op == kMgTokEqual ? Arithmetic(p, 55, 56, 57, a, b, true) : Arithmetic(p, 58, 59, 60, a, b, true);
    }
    return a;
}

mgExprNode* BitAnd(Parser& p)
{
    mgExprNode* a = Equality(p);
    while (a && !p.status && p.look.code == '&') {
        Advance(p);
        a = Bitwise(p, 67, 68, a, Equality(p));
    }
    return a;
}

mgExprNode* BitXor(Parser& p)
{
    mgExprNode* a = BitAnd(p);
    while (a && !p.status && p.look.code == '^') {
        Advance(p);
        a = Bitwise(p, 71, 72, a, BitAnd(p));
    }
    return a;
}

mgExprNode* BitOr(Parser& p)
{
    mgExprNode* a = BitXor(p);
    while (a && !p.status && p.look.code == '|') {
        Advance(p);
        a = Bitwise(p, 69, 70, a, BitXor(p));
    }
    return a;
}

mgExprNode* LogicalAnd(Parser& p)
{
    mgExprNode* a = BitOr(p);
    while (a && !p.status && p.look.code == kMgTokAndAnd) {
        Advance(p);
        a = Logical(p, 73, 74, 75, a, BitOr(p));
    }
    return a;
}

mgExprNode* Expression(Parser& p)
{
    if (++p.depth > kStackLimit) {
        Fail(p, 4);
        return nullptr;
    }
    mgExprNode* a = LogicalAnd(p);
    while (a && !p.status && p.look.code == kMgTokOrOr) {
        Advance(p);
        a = Logical(p, 77, 78, 79, a, LogicalAnd(p));
    }
    --p.depth;
    if (!a)
        Fail(p, 1);
    return a;
}

} // namespace

mgExprNode* mgCompileExpression(const mgFieldTable& fields, const char* text, int length)
{
    mgInstanceContext* ctx = mgCtx();
    Parser p;
    p.fields = &fields;
    mgScannerStart(&p.scanner, text ? text : "", text ? length : 0);
    Advance(p);
    mgExprNode* tree = nullptr;
    mgExprNode* body = Expression(p);
    if (!p.status && p.look.code != kMgTokEnd)
        Fail(p, 1);
    if (!p.status && body) {
        static const uint16_t kTruth[] = {0, 0, 81, 82, 83, 84};
        tree = Make(p, kTruth[body->type], kMgExprInt, body);
    }
    if (p.look.text && (p.look.code == kMgTokField || p.look.code == kMgTokString))
        mgFree(p.look.text);
    if (p.status || !tree) {
        for (int i = 0; i < p.madeCount; ++i) {
            mgFree(p.made[i]->text);
            mgFree(p.made[i]);
        }
        tree = nullptr;
        if (!p.status)
            p.status = 1;
    }
    mgFree(p.made);
    if (ctx)
        ctx->exprStatus = uint16_t(p.status);
    return tree;
}

void mgFreeExpression(mgExprNode* tree)
{
    if (!tree)
        return;
    if (tree->operation > 5) {
        mgFreeExpression(tree->left);
        mgFreeExpression(tree->right);
    }
    mgFree(tree->text);
    mgFree(tree);
}
