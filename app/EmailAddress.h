// A plain syntactic check of an e-mail address before the send-to-friend form goes out:
// one "@", a local part of letters, digits, "-", "." and "_" (at least one of them), and a
// domain of letters, digits, "-" and "." that ends in a known top-level domain. Nothing
// is looked up on the network; bytes above 127 are neither letters nor digits.
#pragma once

#include <cstddef>

// length 0 means up to the terminating zero; reserved is not used.
bool IsValidEmailAddress(const char* text, size_t length, int reserved);
// An ASCII letter or digit, "-" or ".".
bool IsEmailDomainChar(char c);
// An ASCII letter or digit, "-", "." or "_".
bool IsEmailLocalChar(char c);
// Whether text (a leading "." skipped; length 0: up to the terminating zero) is one of the
// known top-level domains, ignoring case.
bool IsKnownTopLevelDomain(const char* text, size_t length);
