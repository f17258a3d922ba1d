#include "run/blowfish.h"

#include "run/blowfish_tables.h"

#include <cstring>

namespace {

uint32_t Feistel(const BlowfishContext *ctx, uint32_t x) {
    uint32_t a = (x >> 24) & 0xFF;
    uint32_t b = (x >> 16) & 0xFF;
    uint32_t c = (x >> 8) & 0xFF;
    uint32_t d = x & 0xFF;
    return ((ctx->S[0][a] + ctx->S[1][b]) ^ ctx->S[2][c]) + ctx->S[3][d];
}

} // namespace

namespace {

// Sixteen Feistel rounds with the P-array taken from index `first` in steps
// of `step`; the last two P entries visited whiten the halves.
void RunRounds(const BlowfishContext *ctx, uint32_t *L, uint32_t *R, int first, int step) {
    uint32_t left = *L;
    uint32_t right = *R;
    int index = first;
    for (int round = 0; round < 16; ++round, index += step) {
        left ^= ctx->P[index];
        right ^= Feistel(ctx, left);
        uint32_t swap = left;
        left = right;
        right = swap;
    }
    // The last round does not exchange the halves; undo its exchange.
    uint32_t swap = left;
    left = right;
    right = swap;
    right ^= ctx->P[index];
    left ^= ctx->P[index + step];
    *L = left;
    *R = right;
}

} // namespace

void BlowfishEncryptBlock(const BlowfishContext *ctx, uint32_t *L, uint32_t *R) {
    RunRounds(ctx, L, R, 0, 1);
}

void BlowfishDecryptBlock(const BlowfishContext *ctx, uint32_t *L, uint32_t *R) {
    RunRounds(ctx, L, R, 17, -1);
}

void BlowfishInit(BlowfishContext *ctx, const unsigned char *key, int keyLength) {
    std::memcpy(ctx->S, kBlowfishInitialS, sizeof ctx->S);

    int next = 0;
    for (int i = 0; i < 18; ++i) {
        uint32_t word = 0;
        if (keyLength > 0) {
            for (int k = 0; k < 4; ++k) {
                word = (word << 8) | key[next];
                next = (next + 1) % keyLength;
            }
        }
        ctx->P[i] = kBlowfishInitialP[i] ^ word;
    }

    // Each encryption continues from the previous result, first through the
    // P-array, then through the four S-boxes.
    uint32_t left = 0;
    uint32_t right = 0;
    for (int i = 0; i < 18; i += 2) {
        BlowfishEncryptBlock(ctx, &left, &right);
        ctx->P[i] = left;
        ctx->P[i + 1] = right;
    }
    for (int box = 0; box < 4; ++box) {
        for (int i = 0; i < 256; i += 2) {
            BlowfishEncryptBlock(ctx, &left, &right);
            ctx->S[box][i] = left;
            ctx->S[box][i + 1] = right;
        }
    }
}
