#include "run/password.h"

#include "run/blowfish.h"

#include <climits>
#include <cstdint>
#include <cstring>

namespace {

constexpr size_t kBlockBytes = 8;
constexpr size_t kBlockDigits = 16;

// Zero-fills memory through a volatile pointer so that the stores are kept
// even though the memory is not read afterwards.
void WipeMemory(void *area, size_t size) {
    volatile unsigned char *p = static_cast<volatile unsigned char *>(area);
    for (size_t i = 0; i < size; ++i) {
        p[i] = 0;
    }
}

void SetUpKey(BlowfishContext *ctx, const char *key) {
    size_t length = std::strlen(key);
    int keyLength = length > INT_MAX ? INT_MAX : static_cast<int>(length);
    BlowfishInit(ctx, reinterpret_cast<const unsigned char *>(key), keyLength);
}

uint32_t ReadHalf(const unsigned char *bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void WriteHalf(uint32_t half, unsigned char *bytes) {
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>(half >> (8 * i));
    }
}

// Value of one character: code - 55 for A to F, code - 48 for all others.
// Unsigned arithmetic wraps, which leaves the result modulo 256 unchanged.
unsigned int DigitValue(char c) {
    unsigned int code = static_cast<unsigned char>(c);
    return (c >= 'A' && c <= 'F') ? code - 55u : code - 48u;
}

} // namespace

void HexToBytes(const char *text, size_t count, unsigned char *out) {
    for (size_t i = 0; i + 1 < count; i += 2) {
        unsigned int value = DigitValue(text[i]) * 16u + DigitValue(text[i + 1]);
        out[i / 2] = static_cast<unsigned char>(value & 0xFFu);
    }
}

int DecryptPassword(const char *encrypted, char *output, const char *key) {
    BlowfishContext ctx;
    SetUpKey(&ctx, key);

    size_t length = std::strlen(encrypted);
    size_t position = 0;
    unsigned char block[kBlockBytes];
    // Only complete groups of 16 characters are decrypted; a shorter rest is
    // ignored so that nothing beyond the text is read.
    for (; position + kBlockDigits <= length; position += kBlockDigits) {
        HexToBytes(encrypted + position, kBlockDigits, block);
        uint32_t left = ReadHalf(block);
        uint32_t right = ReadHalf(block + 4);
        BlowfishDecryptBlock(&ctx, &left, &right);
        WriteHalf(left, block);
        WriteHalf(right, block + 4);
        std::memcpy(output + position / 2, block, kBlockBytes);
    }
    output[position / 2] = '\0';

    WipeMemory(block, sizeof block);
    WipeMemory(&ctx, sizeof ctx);
    return 1;
}

int EncryptPassword(const char *plain, char *output, size_t capacity, const char *key) {
    static const char kDigits[] = "0123456789ABCDEF";

    size_t length = std::strlen(plain);
    size_t blocks = (length + kBlockBytes - 1) / kBlockBytes;
    if (blocks > (static_cast<size_t>(INT_MAX) / kBlockDigits) ||
        blocks * kBlockDigits >= capacity) {
        if (capacity > 0) {
            output[0] = '\0';
        }
        return -1;
    }

    BlowfishContext ctx;
    SetUpKey(&ctx, key);

    unsigned char block[kBlockBytes];
    for (size_t b = 0; b < blocks; ++b) {
        size_t start = b * kBlockBytes;
        size_t take = length - start < kBlockBytes ? length - start : kBlockBytes;
        std::memset(block, 0, sizeof block);
        std::memcpy(block, plain + start, take);
        uint32_t left = ReadHalf(block);
        uint32_t right = ReadHalf(block + 4);
        BlowfishEncryptBlock(&ctx, &left, &right);
        WriteHalf(left, block);
        WriteHalf(right, block + 4);
        char *digits = output + b * kBlockDigits;
        for (size_t i = 0; i < kBlockBytes; ++i) {
            digits[2 * i] = kDigits[block[i] >> 4];
            digits[2 * i + 1] = kDigits[block[i] & 0x0F];
        }
    }
    output[blocks * kBlockDigits] = '\0';

    WipeMemory(block, sizeof block);
    WipeMemory(&ctx, sizeof ctx);
    return static_cast<int>(blocks * kBlockDigits);
}
