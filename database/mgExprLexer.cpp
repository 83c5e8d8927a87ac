// Lexer of conditional-key expressions: a longest-match scanner whose rules, in priority
// order, are numbers (decimal, suffixed, hexadecimal, fractions), character constants,
// strings, function names, names and keywords, operators and single characters. When two
// rules match the same longest text the earlier rule wins.
#include "database/mgCondition.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "database/mgBytes.h"
#include "database/mgRuntime.h"

namespace {

constexpr int kMaxToken = 99;

const char* const kFunctions[] = {"atoi",   "atol",   "abs",     "labs",     "fabs",  "atof",  "ceil", "floor",
                                  "fmod",   "strlen", "strcmp",  "stricmp",  "strncmp", "strnicmp", "memcmp"};

struct Match {
    int length = 0;
    int rule = 99;
};

int Char(const mgScanner* s, int at)
{
    if (at >= s->length)
        return -1;
    char c = s->text[at];
    return c == 0 ? ' ' : static_cast<unsigned char>(c);
}

int Digits(const mgScanner* s, int at, bool hex)
{
    int n = 0;
    for (int c = Char(s, at + n); c >= 0 && (hex ? isxdigit(c) : isdigit(c)); c = Char(s, at + ++n)) {
    }
    return n;
}

void Consider(Match& best, int length, int rule)
{
    if (length > best.length || (length == best.length && length > 0 && rule < best.rule)) {
        best.length = length;
        best.rule = rule;
    }
}

int EscapeCode(int c)
{
    switch (tolower(c)) {
    case 'a':
        return 7;
    case 'b':
        return 8;
    case 'f':
        return 12;
    case 'n':
        return 10;
    case 'r':
        return 13;
    case 't':
        return 9;
    case 'v':
        return 11;
    default:
        return c;
    }
}

int HexValue(int c)
{
    return isdigit(c) ? c - '0' : tolower(c) - 'a' + 10;
}

void SetNumber(mgToken* token, double value)
{
    if (value <= 2147483647.0) {
        token->code = kMgTokInt;
        token->i = int32_t(value);
    } else if (value <= 4294967295.0) {
        token->code = kMgTokUnsigned;
        token->u = uint32_t(value);
    } else {
        token->code = kMgTokDouble;
        token->d = value;
    }
}

double DigitValue(const char* text, int length)
{
    double value = 0;
    for (int i = 0; i < length; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

// Decodes the text of a string token (quotes included) into a counted string.
uint8_t* DecodeString(const char* text, int length)
{
    uint8_t decoded[260];
    int out = 0;
    for (int i = 1; i < length - 1 && out < 256; ++i) {
        int c = static_cast<unsigned char>(text[i]);
        if (c == '\\' && i + 1 < length - 1) {
            int e = static_cast<unsigned char>(text[++i]);
            if ((e == 'x' || e == 'X') && i + 1 < length - 1 && isxdigit(static_cast<unsigned char>(text[i + 1]))) {
                int value = HexValue(static_cast<unsigned char>(text[++i]));
                if (i + 1 < length - 1 && isxdigit(static_cast<unsigned char>(text[i + 1])))
                    value = value * 16 + HexValue(static_cast<unsigned char>(text[++i]));
                c = value;
            } else {
                c = EscapeCode(e);
            }
        }
        decoded[out++] = uint8_t(c);
    }
    auto* copy = static_cast<uint8_t*>(mgAlloc(out + 3));
    if (!copy)
        return nullptr;
    mgPut16(copy, uint16_t(out));
    memcpy(copy + 2, decoded, size_t(out));
    copy[2 + out] = 0;
    return copy;
}

} // namespace

void mgScannerStart(mgScanner* scanner, const char* text, int length)
{
    scanner->text = text;
    scanner->length = length;
    scanner->position = 0;
    scanner->line = 1;
}

int mgNextToken(mgScanner* s, mgToken* token)
{
    *token = mgToken{};
    for (;;) {
        int c = Char(s, s->position);
        if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') {
            if (c == '\n')
                s->line += 1;
            s->position += 1;
            continue;
        }
        break;
    }
    int at = s->position;
    if (Char(s, at) < 0)
        return token->code = kMgTokEnd;
    Match best;
    // 2, 3: decimal digits, with an unsigned suffix.
    int digits = Digits(s, at, false);
    if (digits > 0) {
        Consider(best, digits, 2);
        int u = Char(s, at + digits);
        if (u == 'u' || u == 'U')
            Consider(best, digits + 1, 3);
    }
    // 4, 5: hexadecimal, with an unsigned suffix.
    if (Char(s, at) == '0' && (Char(s, at + 1) == 'x' || Char(s, at + 1) == 'X')) {
        int hex = Digits(s, at + 2, true);
        if (hex > 0) {
            Consider(best, 2 + hex, 4);
            int u = Char(s, at + 2 + hex);
            if (u == 'u' || u == 'U')
                Consider(best, 3 + hex, 5);
        }
    }
    // 6: a decimal fraction, an exponent only after fraction digits.
    if (Char(s, at + digits) == '.') {
        int fraction = Digits(s, at + digits + 1, false);
        if (digits + fraction > 0) {
            int length = digits + 1 + fraction;
            if (fraction > 0) {
                int e = Char(s, at + length);
                if (e == 'e' || e == 'E') {
                    int k = length + 1;
                    if (Char(s, at + k) == '+' || Char(s, at + k) == '-')
                        ++k;
                    int exponent = Digits(s, at + k, false);
                    if (exponent > 0)
                        length = k + exponent;
                }
            }
            Consider(best, length, 6);
        }
    }
    // 7, 8, 9: character constants.
    if (Char(s, at) == '\'') {
        if (Char(s, at + 1) >= 0 && Char(s, at + 1) != '\\' && Char(s, at + 2) == '\'')
            Consider(best, 3, 7);
        if (Char(s, at + 1) == '\\' && Char(s, at + 2) >= 0 && Char(s, at + 3) == '\'')
            Consider(best, 4, 8);
        if (Char(s, at + 1) == '\\' && (Char(s, at + 2) == 'x' || Char(s, at + 2) == 'X')) {
            int hex = Digits(s, at + 3, true);
            if (hex > 0 && Char(s, at + 3 + hex) == '\'')
                Consider(best, 4 + hex, 9);
        }
    }
    // 10: a string.
    if (Char(s, at) == '"') {
        int k = at + 1;
        for (int ch = Char(s, k); ch >= 0 && ch != '"'; ch = Char(s, k)) {
            k += (ch == '\\' && Char(s, k + 1) >= 0) ? 2 : 1;
        }
        if (Char(s, k) == '"')
            Consider(best, k + 1 - at, 10);
    }
    // 11, 12: function names, names and keywords.
    int first = Char(s, at);
    if (first >= 0 && (isalpha(first) || first == '_')) {
        int n = 1;
        for (int ch = Char(s, at + n); ch >= 0 && (isalnum(ch) || ch == '_' || ch == '.'); ch = Char(s, at + ++n)) {
        }
        for (const char* name : kFunctions) {
            int length = int(strlen(name));
            if (at + length <= s->length && strncmp(s->text + at, name, size_t(length)) == 0)
                Consider(best, length, 11);
        }
        Consider(best, n, 12);
    }
    // 13, 14: operators and any other character.
    static const char* const kPairs[] = {"&&", "||", "<=", ">=", "==", "!="};
    for (const char* pair : kPairs)
        if (Char(s, at) == pair[0] && Char(s, at + 1) == pair[1])
            Consider(best, 2, 13);
    Consider(best, 1, 14);

    if (best.length > kMaxToken) {
        s->position = s->length;
        return token->code = kMgTokEnd;
    }
    const char* text = s->text + at;
    for (int i = 0; i < best.length; ++i)
        if (text[i] == '\n')
            s->line += 1;
    s->position = at + best.length;
    switch (best.rule) {
    case 2:
        SetNumber(token, DigitValue(text, best.length));
        break;
    case 3: {
        double value = DigitValue(text, best.length - 1);
        if (value > 4294967295.0) {
            token->code = kMgTokDouble;
            token->d = value;
        } else {
            token->code = kMgTokUnsigned;
            token->u = uint32_t(value);
        }
        break;
    }
    case 4:
    case 5: {
        uint32_t value = 0;
        int end = best.rule == 4 ? best.length : best.length - 1;
        for (int i = 2; i < end; ++i)
            value = value * 16 + uint32_t(HexValue(static_cast<unsigned char>(text[i])));
        if (best.rule == 4) {
            token->code = kMgTokInt;
            token->i = int32_t(value);
        } else {
            token->code = kMgTokUnsigned;
            token->u = value;
        }
        break;
    }
    case 6: {
        char buffer[kMaxToken + 1];
        memcpy(buffer, text, size_t(best.length));
        buffer[best.length] = 0;
        token->code = kMgTokDouble;
        token->d = strtod(buffer, nullptr);
        break;
    }
    case 7:
        token->code = kMgTokInt;
        token->i = static_cast<unsigned char>(text[1]);
        break;
    case 8:
        token->code = kMgTokInt;
        token->i = EscapeCode(static_cast<unsigned char>(text[2]));
        break;
    case 9: {
        uint32_t value = 0;
        for (int i = 3; i < best.length - 1; ++i)
            value = value * 16 + uint32_t(HexValue(static_cast<unsigned char>(text[i])));
        token->code = kMgTokInt;
        token->i = int32_t(value);
        break;
    }
    case 10:
        token->code = kMgTokString;
        token->text = DecodeString(text, best.length);
        break;
    case 11:
        for (int f = 0; f < 15; ++f) {
            if (int(strlen(kFunctions[f])) == best.length && strncmp(text, kFunctions[f], size_t(best.length)) == 0) {
                token->code = kMgTokFirstFunction + f;
                break;
            }
        }
        break;
    case 12: {
        static const char* const kCasts[] = {"INT", "UNSIGNED", "LONG", "DOUBLE"};
        for (int k = 0; k < 4; ++k) {
            if (int(strlen(kCasts[k])) == best.length && _strnicmp(text, kCasts[k], size_t(best.length)) == 0) {
                token->code = kMgTokCastInt + k;
                return token->code;
            }
        }
        token->code = kMgTokField;
        token->text = static_cast<uint8_t*>(mgAlloc(best.length + 1));
        if (token->text) {
            memcpy(token->text, text, size_t(best.length));
            token->text[best.length] = 0;
        }
        break;
    }
    case 13: {
        static const int kCodes[] = {kMgTokAndAnd, kMgTokOrOr, kMgTokLessEqual, kMgTokGreaterEqual, kMgTokEqual,
                                     kMgTokNotEqual};
        for (int k = 0; k < 6; ++k)
            if (text[0] == kPairs[k][0] && text[1] == kPairs[k][1])
                token->code = kCodes[k];
        break;
    }
    default:
        if (text[0] == '<')
            token->code = kMgTokLess;
        else if (text[0] == '>')
            token->code = kMgTokGreater;
        else
            token->code = Char(s, at);
        break;
    }
    return token->code;
}
