// The Blowfish block cipher: 16 rounds, the published initial tables and key
// schedule. The block functions work on the two 32-bit halves of a block; how
// the halves are read from bytes is the caller's business.
#pragma once

#include <cstdint>

// One key schedule.
struct BlowfishContext {
    uint32_t P[18];     // P-array, initial values mixed with the key
    uint32_t S[4][256]; // S-boxes S1 to S4, rebuilt by the key schedule
};
static_assert(sizeof(BlowfishContext) == 4168, "BlowfishContext must be 4168 bytes");

// Builds the key schedule for `keyLength` key bytes, taken cyclically and
// most significant byte first into the P-array. A length of 0 or less mixes no
// key bytes in (key may then be null).
void BlowfishInit(BlowfishContext *ctx, const unsigned char *key, int keyLength);

// Encrypts the block (L, R) in place.
void BlowfishEncryptBlock(const BlowfishContext *ctx, uint32_t *L, uint32_t *R);

// Decrypts the block (L, R) in place: the inverse of BlowfishEncryptBlock.
void BlowfishDecryptBlock(const BlowfishContext *ctx, uint32_t *L, uint32_t *R);
