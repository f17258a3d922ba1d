#include "run/blowfish.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

// A block as published: the left half is the upper 32 bits.
uint64_t Join(uint32_t left, uint32_t right) {
    return static_cast<uint64_t>(left) << 32 | right;
}

void KeyBytes(uint64_t key, unsigned char *out) {
    for (int i = 0; i < 8; ++i) {
        out[i] = static_cast<unsigned char>(key >> (56 - 8 * i));
    }
}

// Starts from a context full of garbage, so a schedule that leaves any entry
// unset shows up.
void InitFromGarbage(BlowfishContext *ctx, const unsigned char *key, int keyLength) {
    std::memset(ctx, 0xA5, sizeof *ctx);
    BlowfishInit(ctx, key, keyLength);
}

struct EcbCase {
    uint64_t key;
    uint64_t plain;
    uint64_t cipher;
};

// Eric Young's published ECB test vectors, 8-byte keys.
const EcbCase kEcbCases[] = {
    {0x0000000000000000, 0x0000000000000000, 0x4EF997456198DD78},
    {0xFFFFFFFFFFFFFFFF, 0xFFFFFFFFFFFFFFFF, 0x51866FD5B85ECB8A},
    {0x3000000000000000, 0x1000000000000001, 0x7D856F9A613063F2},
    {0x1111111111111111, 0x1111111111111111, 0x2466DD878B963C9D},
    {0x0123456789ABCDEF, 0x1111111111111111, 0x61F9C3802281B096},
    {0x1111111111111111, 0x0123456789ABCDEF, 0x7D0CC630AFDA1EC7},
    {0xFEDCBA9876543210, 0x0123456789ABCDEF, 0x0ACEAB0FC6A0A28D},
    {0x7CA110454A1A6E57, 0x01A1D6D039776742, 0x59C68245EB05282B},
    {0x0131D9619DC1376E, 0x5CD54CA83DEF57DA, 0xB1B8CC0B250F09A0},
    {0x1C587F1C13924FEF, 0x305532286D6F295A, 0x55CB3774D13EF201},
    {0xE0FEE0FEF1FEF1FE, 0x0123456789ABCDEF, 0xC39E072D9FAC631D},
    {0x0000000000000000, 0xFFFFFFFFFFFFFFFF, 0x014933E0CDAFF6E4},
    {0xFFFFFFFFFFFFFFFF, 0x0000000000000000, 0xF21E9A77B71C49BC},
    {0xFEDCBA9876543210, 0xFFFFFFFFFFFFFFFF, 0x6B5C5A9C5D9E0A5A},
};

TEST(BlowfishTest, PublishedEcbVectorsEncryptAndDecrypt) {
    for (const EcbCase &c : kEcbCases) {
        SCOPED_TRACE(testing::Message() << std::hex << "key " << c.key << " plain " << c.plain);
        unsigned char key[8];
        KeyBytes(c.key, key);
        BlowfishContext ctx;
        InitFromGarbage(&ctx, key, 8);

        uint32_t left = static_cast<uint32_t>(c.plain >> 32);
        uint32_t right = static_cast<uint32_t>(c.plain);
        BlowfishEncryptBlock(&ctx, &left, &right);
        EXPECT_EQ(Join(left, right), c.cipher);

        BlowfishDecryptBlock(&ctx, &left, &right);
        EXPECT_EQ(Join(left, right), c.plain);
    }
}

// Published vectors for keys of 1 to 24 bytes, all prefixes of one key byte
// string, plain block FEDCBA9876543210. Lengths that do not divide 4 test the
// cyclic use of the key; the 17th byte is a zero.
TEST(BlowfishTest, PublishedVariableKeyLengthVectors) {
    const unsigned char kKey[24] = {0xF0, 0xE1, 0xD2, 0xC3, 0xB4, 0xA5, 0x96, 0x87,
                                    0x78, 0x69, 0x5A, 0x4B, 0x3C, 0x2D, 0x1E, 0x0F,
                                    0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
    struct Case {
        int keyLength;
        uint64_t cipher;
    };
    const Case kCases[] = {
        {1, 0xF9AD597C49DB005E},  {2, 0xE91D21C1D961A6D6},  {3, 0xE9C2B70A1BC65CF3},
        {5, 0xB39E44481BDB1E6E},  {7, 0x8BB77032F960629D},  {8, 0xE87A244E2CC85E82},
        {9, 0x15750E7A4F4EC577},  {16, 0x93142887EE3BE15C}, {17, 0x03429E838CE2D14B},
        {23, 0x80C7D7D45A5479AD}, {24, 0x05044B62FA52D080},
    };
    for (const Case &c : kCases) {
        SCOPED_TRACE(testing::Message() << "key length " << c.keyLength);
        BlowfishContext ctx;
        InitFromGarbage(&ctx, kKey, c.keyLength);
        uint32_t left = 0xFEDCBA98;
        uint32_t right = 0x76543210;
        BlowfishEncryptBlock(&ctx, &left, &right);
        EXPECT_EQ(Join(left, right), c.cipher);
        BlowfishDecryptBlock(&ctx, &left, &right);
        EXPECT_EQ(Join(left, right), 0xFEDCBA9876543210u);
    }
}

// Without key bytes the P-array keeps its initial values, as with an
// all-zero key.
TEST(BlowfishTest, EmptyKeyActsAsAllZeroKey) {
    BlowfishContext ctx;
    InitFromGarbage(&ctx, nullptr, 0);
    uint32_t left = 0;
    uint32_t right = 0;
    BlowfishEncryptBlock(&ctx, &left, &right);
    EXPECT_EQ(Join(left, right), 0x4EF997456198DD78u);
}

TEST(BlowfishTest, DecryptUndoesEncryptUnderTextKey) {
    const unsigned char kKey[] = {'K', 'O', 'R', 'V', 'A', 'L', 'D'};
    BlowfishContext ctx;
    InitFromGarbage(&ctx, kKey, sizeof kKey);
    const uint64_t kBlocks[] = {0, 0xFFFFFFFFFFFFFFFF, 0x0123456789ABCDEF, 0x8000000000000001};
    for (uint64_t block : kBlocks) {
        SCOPED_TRACE(testing::Message() << std::hex << block);
        uint32_t left = static_cast<uint32_t>(block >> 32);
        uint32_t right = static_cast<uint32_t>(block);
        BlowfishEncryptBlock(&ctx, &left, &right);
        EXPECT_NE(Join(left, right), block);
        BlowfishDecryptBlock(&ctx, &left, &right);
        EXPECT_EQ(Join(left, right), block);
    }
}

} // namespace
