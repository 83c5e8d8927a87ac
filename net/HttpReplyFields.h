// Reading the fields of an HTTP reply's header lines (without their line ends): the
// status code, the content type the client accepts, and the body length.
#pragma once

// The status code of a status line "HTTP/" version, blank(s), three digits, and
// nothing or a blank and the reason after them; false when the line is not one.
bool ReadStatusCode(const char* statusLine, int* code);

// Whether a Content-Type line names text/html, text/plain or text/xml (case ignored,
// blanks or tabs allowed after the colon, parameters such as a charset allowed).
bool IsTextContentType(const char* line);

// Whether the line's header name (the text before the colon or a blank) is `name`,
// case ignored.
bool HasHeaderName(const char* line, const char* name);

// The decimal value of a Content-Length line: digits alone, blanks or tabs around them
// allowed; false for anything else (a sign, a list, letters, nothing, or a value past
// any reply this client would take).
bool ReadContentLength(const char* line, unsigned long long* length);

// Whether a Transfer-Encoding line names no coding at all ("identity", case ignored).
bool IsIdentityEncoding(const char* line);
