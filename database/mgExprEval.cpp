// Evaluation of conditional-key expressions: a stack machine over the instance's stack of
// 512 eight-byte slots; an operation evaluates both operands (no short circuit) and
// replaces them with its result.
// Sound arithmetic where the processor would trap or the language leaves the result open:
// the smallest integer divided by -1 gives itself (its remainder 0), and a double converted
// to a 32-bit integer is clamped to the integer's range (NaN gives 0).
// Fields are read only inside the record: a field that does not fit answers status 10, and
// the string comparisons read nothing at or past a string's length.
#include "database/mgCondition.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "database/mgBytes.h"
#include "database/mgRuntime.h"

namespace {

constexpr int kSlots = 512;

struct Machine {
    uint64_t* stack;
    int depth;
    const uint8_t* record;
    uint32_t recordLength;
    const mgFieldTable* fields;
    uint16_t status;
};

bool Push(Machine& m, uint64_t value)
{
    if (m.depth >= kSlots) {
        m.status = 6;
        return false;
    }
    m.stack[m.depth++] = value;
    return true;
}

int32_t I(uint64_t slot)
{
    return int32_t(uint32_t(slot));
}
uint32_t U(uint64_t slot)
{
    return uint32_t(slot);
}
double D(uint64_t slot)
{
    double d;
    memcpy(&d, &slot, 8);
    return d;
}
uint64_t FromI(int32_t v)
{
    return uint32_t(v);
}
uint64_t FromU(uint32_t v)
{
    return v;
}
uint64_t FromD(double d)
{
    uint64_t slot;
    memcpy(&slot, &d, 8);
    return slot;
}

int32_t ClampToInt(double d)
{
    if (std::isnan(d))
        return 0;
    if (d >= 2147483647.0)
        return INT_MAX;
    if (d <= -2147483648.0)
        return INT_MIN;
    return int32_t(d);
}

uint32_t ClampToUnsigned(double d)
{
    if (std::isnan(d) || d <= 0)
        return 0;
    if (d >= 4294967295.0)
        return UINT_MAX;
    return uint32_t(d);
}

bool IsFieldString(uint8_t type)
{
    return type == 128 || type == 144 || type == 146 || type == 152 || type == 154 || type == 160 || type == 162 ||
           type == 168 || type == 170;
}

// Where a field lies in the record and, for strings, its length and first character.
bool LocateField(Machine& m, int index, uint32_t* offset, uint32_t* length, const uint8_t** text, uint8_t* type)
{
    const mgFieldTable& f = *m.fields;
    if (!f.description || f.descriptionLength < 16) {
        m.status = 10;
        return false;
    }
    uint32_t entries = mgGet32(f.description + 12);
    if (index < 0 || uint32_t(index) >= entries || 16u + 4u * uint32_t(index) + 4 > f.descriptionLength) {
        m.status = 10;
        return false;
    }
    uint8_t alignment = f.description[1];
    uint8_t delimiter = f.description[2];
    uint32_t at = 0;
    for (int i = 0; i <= index; ++i) {
        const uint8_t* entry = f.description + 16 + 4 * i;
        uint16_t declared = mgGet16(entry);
        uint8_t code = entry[2];
        if ((code & 7) != 0 && (code & 7) != 2) {
            uint32_t unit = ((uint32_t(alignment) - 1) & (code & 7u)) + 1;
            uint32_t within = at % 16;
            at += (unit - within % unit) % unit;
        }
        if (at > m.recordLength) {
            m.status = 10;
            return false;
        }
        const uint8_t* p = m.record + at;
        uint32_t room = m.recordLength - at;
        uint32_t size = declared;
        uint32_t stringLength = declared;
        const uint8_t* start = p;
        switch (code) {
        case 144:
        case 146: {
            uint32_t limit = code == 144 ? (declared < room ? declared : room) : room;
            const void* hit = memchr(p, delimiter, limit);
            stringLength = hit ? uint32_t(static_cast<const uint8_t*>(hit) - p) : limit;
            if (code == 146) {
                if (!hit) {
                    m.status = 10;
                    return false;
                }
                size = stringLength + 1;
            }
            break;
        }
        case 152:
        case 154:
        case 160:
        case 162:
        case 168:
        case 170: {
            uint32_t prefix = (code == 152 || code == 154) ? 1 : (code == 160 || code == 162) ? 2 : 4;
            if (room < prefix) {
                m.status = 10;
                return false;
            }
            stringLength = prefix == 1 ? p[0] : prefix == 2 ? mgGet16(p) : mgGet32(p);
            start = p + prefix;
            if (uint64_t(prefix) + stringLength > room) {
                m.status = 10;
                return false;
            }
            if (code == 154 || code == 162 || code == 170)
                size = prefix + stringLength;
            break;
        }
        default:
            break;
        }
        if (i == index) {
            if (uint64_t(size) > room || (IsFieldString(code) && uint64_t(start - m.record) + stringLength > m.recordLength)) {
                m.status = 10;
                return false;
            }
            *offset = at;
            *length = stringLength;
            *text = start;
            *type = code;
            return true;
        }
        at += size;
    }
    m.status = 10;
    return false;
}

bool PushField(Machine& m, int index)
{
    if (!m.record) {
        m.status = 11;
        return false;
    }
    uint32_t offset = 0;
    uint32_t length = 0;
    const uint8_t* text = nullptr;
    uint8_t type = 0;
    if (!LocateField(m, index, &offset, &length, &text, &type))
        return false;
    const uint8_t* p = m.record + offset;
    uint32_t room = m.recordLength - offset;
    auto need = [&](uint32_t bytes) {
        if (room < bytes) {
            m.status = 10;
            return false;
        }
        return true;
    };
    switch (type) {
    case 8:
        return need(1) && Push(m, FromI(p[0] ? 1 : 0));
    case 16:
        return need(1) && Push(m, FromI(int8_t(p[0])));
    case 24:
        return need(1) && Push(m, FromU(p[0]));
    case 33:
        return need(2) && Push(m, FromI(int16_t(mgGet16(p))));
    case 41:
        return need(2) && Push(m, FromU(mgGet16(p)));
    case 51:
    case 67:
        return need(4) && Push(m, FromI(int32_t(mgGet32(p))));
    case 59:
    case 75:
    case 83:
        return need(4) && Push(m, FromU(mgGet32(p)));
    case 91: {
        if (!need(4))
            return false;
        float value;
        memcpy(&value, p, 4);
        return Push(m, FromD(double(value)));
    }
    case 103:
    case 124: {
        if (!need(8))
            return false;
        double value;
        memcpy(&value, p, 8);
        return Push(m, FromD(value));
    }
    default:
        if (!IsFieldString(type)) {
            m.status = 10;
            return false;
        }
        return Push(m, length) && Push(m, reinterpret_cast<uint64_t>(text));
    }
}

int UpperChar(int c)
{
    return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

int32_t CompareStrings(uint64_t lengthA, const uint8_t* a, uint64_t lengthB, const uint8_t* b, bool noCase)
{
    if (!a || !b)
        return a == b ? 0 : (!a ? -1 : 1);
    if (lengthA != lengthB)
        return lengthA < lengthB ? -1 : 1;
    for (uint64_t i = 0; i < lengthA; ++i) {
        int ca = int8_t(a[i]);
        int cb = int8_t(b[i]);
        if (noCase) {
            ca = UpperChar(ca);
            cb = UpperChar(cb);
        }
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return 0;
}

int32_t CompareCounted(uint64_t lengthA, const uint8_t* a, uint64_t lengthB, const uint8_t* b, int32_t n, bool noCase)
{
    if (n < 1)
        return 0;
    if (!a || !b)
        return a == b ? 0 : (!a ? -1 : 1);
    for (int32_t i = 0; i < n; ++i) {
        int ca = uint64_t(i) < lengthA ? int8_t(a[i]) : 0;
        int cb = uint64_t(i) < lengthB ? int8_t(b[i]) : 0;
        if (noCase) {
            ca = UpperChar(ca);
            cb = UpperChar(cb);
        }
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (uint64_t(i) >= lengthA || uint64_t(i) >= lengthB)
            return 0;
    }
    return 0;
}

double TextNumber(uint64_t length, const uint8_t* text, bool integer)
{
    if (!text || length >= 127)
        return 0;
    char buffer[128];
    memcpy(buffer, text, size_t(length));
    buffer[length] = 0;
    if (integer)
        return double(atol(buffer));
    return atof(buffer);
}

bool Evaluate(Machine& m, const mgExprNode* node);

// Evaluates the operands of a node, leaving their slots on the stack.
bool Operands(Machine& m, const mgExprNode* node, int needed)
{
    if (!node->left || (needed > 1 && !node->right)) {
        m.status = 8;
        return false;
    }
    if (!Evaluate(m, node->left))
        return false;
    if (node->right && !Evaluate(m, node->right))
        return false;
    return true;
}

bool Need(Machine& m, int slots)
{
    if (m.depth < slots) {
        m.status = 7;
        return false;
    }
    return true;
}

void Result(Machine& m, int consumed, uint64_t value)
{
    m.depth -= consumed;
    m.stack[m.depth++] = value;
}

void DivisionByZero(Machine& m, int consumed)
{
    Result(m, consumed, 0);
    if (m.status == 0)
        m.status = 9;
}

bool Evaluate(Machine& m, const mgExprNode* node)
{
    if (!node) {
        m.status = 8;
        return false;
    }
    uint16_t op = node->operation;
    switch (op) {
    case 1:
        return PushField(m, node->field);
    case 2:
        return Push(m, FromI(node->value.i));
    case 3:
        return Push(m, FromU(node->value.u));
    case 4:
        return Push(m, FromD(node->value.d));
    case 5:
        if (!node->text) {
            m.status = 8;
            return false;
        }
        return Push(m, mgGet16(node->text)) && Push(m, reinterpret_cast<uint64_t>(node->text + 2));
    default:
        break;
    }
    if (op < 1 || op > 85) {
        m.status = 8;
        return false;
    }
    bool binary = (op >= 34 && op <= 80) || op == 12 || op == 13 || op == 14 || op == 15 || op == 16 || op == 18 ||
                  op == 85;
    if (!Operands(m, node, binary ? 2 : 1))
        return false;
    uint64_t* s = m.stack;
    int d = m.depth;
    switch (op) {
    case 6:
        return Need(m, 1) && (Result(m, 1, FromD(double(I(s[d - 1])))), true);
    case 8:
        return Need(m, 1) && (Result(m, 1, FromD(double(U(s[d - 1])))), true);
    case 7:
    case 9:
        return Need(m, 1) && (Result(m, 1, FromU(U(s[d - 1]))), true);
    case 10:
        return Need(m, 1) && (Result(m, 1, FromI(ClampToInt(D(s[d - 1])))), true);
    case 11:
        return Need(m, 1) && (Result(m, 1, FromU(ClampToUnsigned(D(s[d - 1])))), true);
    case 12:
        return Need(m, 4);
    case 13:
    case 14:
    case 85: {
        if (!Need(m, 5))
            return false;
        uint64_t la = s[d - 5];
        auto* a = reinterpret_cast<const uint8_t*>(s[d - 4]);
        uint64_t lb = s[d - 3];
        auto* b = reinterpret_cast<const uint8_t*>(s[d - 2]);
        int32_t n = I(s[d - 1]);
        int32_t r;
        if (op == 85) {
            if (uint64_t(n) > la || n < 0 || !a)
                r = -1;
            else if (uint64_t(n) > lb || !b)
                r = 1;
            else
                r = memcmp(a, b, size_t(n));
            r = r < 0 ? -1 : r > 0 ? 1 : 0;
        } else {
            r = CompareCounted(la, a, lb, b, n, op == 13);
        }
        Result(m, 5, FromI(r));
        return true;
    }
    case 15:
    case 16: {
        if (!Need(m, 4))
            return false;
        int32_t r = CompareStrings(s[d - 4], reinterpret_cast<const uint8_t*>(s[d - 3]), s[d - 2],
                                   reinterpret_cast<const uint8_t*>(s[d - 1]), op == 15);
        Result(m, 4, FromI(r));
        return true;
    }
    case 17:
        return Need(m, 2) && (Result(m, 2, FromI(int32_t(s[d - 2]))), true);
    case 18: {
        if (!Need(m, 2))
            return false;
        double b = D(s[d - 1]);
        if (b == 0.0) {
            DivisionByZero(m, 2);
            return true;
        }
        Result(m, 2, FromD(std::fmod(D(s[d - 2]), b)));
        return true;
    }
    case 19:
        return Need(m, 1) && (Result(m, 1, FromD(std::floor(D(s[d - 1])))), true);
    case 20:
        return Need(m, 1) && (Result(m, 1, FromD(std::ceil(D(s[d - 1])))), true);
    case 21:
        return Need(m, 1) && (Result(m, 1, FromD(std::fabs(D(s[d - 1])))), true);
    case 22:
    case 23: {
        if (!Need(m, 1))
            return false;
        int32_t v = I(s[d - 1]);
        Result(m, 1, FromI(v == INT_MIN ? INT_MIN : (v < 0 ? -v : v)));
        return true;
    }
    case 24:
    case 25:
    case 26: {
        if (!Need(m, 2))
            return false;
        double v = TextNumber(s[d - 2], reinterpret_cast<const uint8_t*>(s[d - 1]), op != 26);
        Result(m, 2, op == 26 ? FromD(v) : FromI(ClampToInt(v)));
        return true;
    }
    case 27: {
        if (!Need(m, 1))
            return false;
        int32_t v = I(s[d - 1]);
        Result(m, 1, FromI(int32_t(0u - uint32_t(v))));
        return true;
    }
    case 28:
        return Need(m, 1) && (Result(m, 1, FromD(-D(s[d - 1]))), true);
    case 29:
        return Need(m, 1) && (Result(m, 1, FromI(~I(s[d - 1]))), true);
    case 30:
    case 31:
        return Need(m, 1) && (Result(m, 1, FromI(U(s[d - 1]) == 0)), true);
    case 32:
        return Need(m, 1) && (Result(m, 1, FromI(D(s[d - 1]) == 0.0)), true);
    case 33:
        return Need(m, 2) && (Result(m, 2, FromI(s[d - 1] == 0)), true);
    default:
        break;
    }
    if (op == 76 || op == 80) {
        m.status = 8;
        return false;
    }
    if (op >= 34 && op <= 79) {
        if (!Need(m, 2))
            return false;
        uint64_t x = s[d - 2];
        uint64_t y = s[d - 1];
        int kind = (op - 34) % 3;
        uint64_t r = 0;
        switch ((op - 34) / 3) {
        case 0:
            r = kind == 0 ? FromI(int32_t(U(x) + U(y))) : kind == 1 ? FromU(U(x) + U(y)) : FromD(D(x) + D(y));
            break;
        case 1:
            r = kind == 0 ? FromI(int32_t(U(x) - U(y))) : kind == 1 ? FromU(U(x) - U(y)) : FromD(D(x) - D(y));
            break;
        case 2:
            r = kind == 0 ? FromI(int32_t(U(x) * U(y))) : kind == 1 ? FromU(U(x) * U(y)) : FromD(D(x) * D(y));
            break;
        case 3:
        case 4: {
            bool remainder = (op - 34) / 3 == 4;
            bool zero = kind == 2 ? D(y) == 0.0 : U(y) == 0;
            if (zero) {
                DivisionByZero(m, 2);
                return true;
            }
            if (kind == 0) {
                int32_t a = I(x);
                int32_t b = I(y);
                if (a == INT_MIN && b == -1)
                    r = FromI(remainder ? 0 : INT_MIN);
                else
                    r = FromI(remainder ? a % b : a / b);
            } else if (kind == 1) {
                r = FromU(remainder ? U(x) % U(y) : U(x) / U(y));
            } else {
                r = FromD(remainder ? std::fmod(D(x), D(y)) : D(x) / D(y));
            }
            break;
        }
        case 5:
            r = FromI(kind == 0 ? I(x) < I(y) : kind == 1 ? U(x) < U(y) : D(x) < D(y));
            break;
        case 6:
            r = FromI(kind == 0 ? I(x) <= I(y) : kind == 1 ? U(x) <= U(y) : D(x) <= D(y));
            break;
        case 7:
            r = FromI(kind == 0 ? I(x) == I(y) : kind == 1 ? U(x) == U(y) : D(x) == D(y));
            break;
        case 8:
            r = FromI(kind == 0 ? I(x) != I(y) : kind == 1 ? U(x) != U(y) : D(x) != D(y));
            break;
        case 9:
            r = FromI(kind == 0 ? I(x) > I(y) : kind == 1 ? U(x) > U(y) : D(x) > D(y));
            break;
        case 10:
            r = FromI(kind == 0 ? I(x) >= I(y) : kind == 1 ? U(x) >= U(y) : D(x) >= D(y));
            break;
        default:
            break;
        }
        if (op >= 67 && op <= 72) {
            uint32_t a = U(x);
            uint32_t b = U(y);
            uint32_t v = (op <= 68) ? (a & b) : (op <= 70) ? (a | b) : (a ^ b);
            r = FromU(v);
        } else if (op >= 73 && op <= 79) {
            bool a;
            bool b;
            int family = op <= 76 ? op - 73 : op - 77;
            if (family == 2) {
                a = D(x) != 0.0;
                b = D(y) != 0.0;
            } else {
                a = U(x) != 0;
                b = U(y) != 0;
            }
            r = FromI(op <= 76 ? (a && b) : (a || b));
        }
        Result(m, 2, r);
        return true;
    }
    // Truth values.
    switch (op) {
    case 81:
    case 82:
        return Need(m, 1) && (Result(m, 1, FromI(U(s[d - 1]) != 0)), true);
    case 83:
        return Need(m, 1) && (Result(m, 1, FromI(D(s[d - 1]) >= 1.0)), true);
    case 84:
        return Need(m, 2) && (Result(m, 2, FromI(s[d - 1] != 0)), true);
    default:
        m.status = 8;
        return false;
    }
}

} // namespace

uint16_t mgEvaluateExpression(mgExprNode* tree, const uint8_t* record, uint32_t recordLength,
                              const mgFieldTable& fields)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx->exprStack) {
        ctx->exprStack = static_cast<uint64_t*>(mgCalloc(kSlots, 8));
        if (!ctx->exprStack) {
            ctx->exprStatus = 8;
            return 0;
        }
    }
    Machine m{ctx->exprStack, 0, record, recordLength, &fields, 0};
    if (!record)
        m.status = 11;
    else
        Evaluate(m, tree);
    uint16_t answer = 0;
    if (m.status == 0 && m.depth > 0)
        answer = uint16_t(m.stack[m.depth - 1]);
    ctx->exprStatus = m.status;
    ctx->exprDepth = 0;
    return answer;
}
