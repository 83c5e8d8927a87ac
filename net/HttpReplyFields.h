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

// The decimal value of a Content-Length line; false when the value is not a plain
// number (the length is then unknown).
bool ReadContentLength(const char* line, unsigned long long* length);
