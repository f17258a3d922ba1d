// Text helpers shared by every subsystem. All of them work on zero-terminated
// single-byte (Windows-1252) texts.
#pragma once

#include <cstddef>

// Removes trailing blanks and tabs in place and returns the text. A text of
// only blanks and tabs is returned unchanged; line feeds and carriage returns
// are not removed.
char *TrimRight(char *text);

// Returns the position of the first character that is not a blank, tab or
// line feed; the start of the text when there is none.
const char *TrimLeft(const char *text);

// Converts a to z into A to Z in place; every other byte stays as it is.
char *UpperCaseInPlace(char *text);

// Leading-decimal conversion of a column text: leading white space and a sign
// are accepted, the first non-digit ends the number, no digits give 0. A null
// text gives 0. Values beyond the 32-bit range are clamped to it.
int ParseLeadingDecimal(const char *text);

// Copies a whole text into a fixed buffer of `capacity` bytes, terminator
// included. Returns 1 when it fitted, 0 when it did not; then the buffer holds
// an empty text, never a cut one.
int CopyText(char *target, size_t capacity, const char *source);

// Places the characters of `source` into `record` at the 0-based `column`,
// without a terminating zero, writing at most `width` characters. Returns the
// number of characters that did not fit (0 when the whole text was placed).
size_t PlaceText(char *record, size_t column, size_t width, const char *source);

// Fills `count` positions of `record` from `column` with `fill`.
void FillColumns(char *record, size_t column, size_t count, char fill);
