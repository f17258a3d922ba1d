// Encrypted configuration values: upper-case hexadecimal text of Blowfish
// blocks, 16 characters per 8-byte block. Each 32-bit half of a block is
// stored least significant byte first (bytes 0 to 3 the left half, 4 to 7 the
// right half), unlike the usual most-significant-first order of the cipher.
#pragma once

#include <cstddef>

// The key text every value of the configuration file is encrypted under.
inline constexpr char kConfigKey[] = "KORVALD";

// Writes count / 2 bytes (rounded down), one per pair of characters. A
// character's value is its code minus 55 for A to F and its code minus 48 for
// every other character, lower-case letters included; the byte is
// (first * 16 + second) modulo 256. Nothing is rejected.
void HexToBytes(const char *text, size_t count, unsigned char *out);

// Decrypts the hexadecimal text `encrypted` under the zero-terminated `key`
// into `output` and zero-terminates it; as a text the result ends at its
// first zero byte. An incomplete last group of fewer than 16 characters is
// ignored. `output` must hold strlen(encrypted) / 2 + 1 bytes. Returns 1.
int DecryptPassword(const char *encrypted, char *output, const char *key);

// Encrypts `plain`, padded with zero bytes to whole blocks, under `key` into
// upper-case hexadecimal text (empty for an empty plain text). Returns the
// length of that text, or -1 when it and its terminator do not fit
// `capacity` bytes; `output` is then an empty text.
int EncryptPassword(const char *plain, char *output, size_t capacity, const char *key);
