// Reading one value from the installation's configuration file: two-line
// entries (heading line, then "number;key;value"), every value encrypted.
#pragma once

#include <cstddef>

constexpr int kConfigFieldCapacity = 200;

// The decrypted value of the last successful ReadConfigValue, empty otherwise.
extern char ConfigValue[kConfigFieldCapacity + 1];

// Result of ReadConfigValue.
constexpr int CONFIG_FOUND = 1;      // a matching entry was found and decrypted
constexpr int CONFIG_NOT_FOUND = 0;  // no matching entry, or the file cannot be read
constexpr int CONFIG_MALFORMED = -1; // a line that cannot be read safely; see ConfigErrorLine

// 1-based number of the line that made the last ReadConfigValue fail with
// CONFIG_MALFORMED, 0 otherwise.
extern int ConfigErrorLine;

// Finds the first entry matching section, key or number and leaves its
// decrypted value in ConfigValue. Opens, reads and closes the file on every
// call. Returns CONFIG_FOUND, CONFIG_NOT_FOUND (also when the file cannot be
// opened) or CONFIG_MALFORMED: a line too long for its buffer, a value line
// without ";", a number over 11 or a field over 200 characters.
int ReadConfigValue(const char *section, const char *key, int number, const char *path);

// Position (from 0) of the n-th occurrence of c in text; the last one when
// there are fewer than n (or n is below 1), -1 when there is none.
int FindNthChar(const char *text, char c, int n);

// Copies `count` characters of text from `start` (count 0: to the end of the
// text) into dest, zero-terminated; a negative count copies nothing and leaves
// dest unchanged. The copy never runs past the end of the text, and a start
// outside the text copies an empty text. Returns 1, or 0 when the copy would
// not fit `capacity` bytes (dest then holds an empty text).
int CopySubstring(const char *text, int start, int count, char *dest, size_t capacity);
