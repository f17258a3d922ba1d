#include "run/password.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr char kUntouched = 0x7E;

// Decrypts into a buffer pre-filled with kUntouched, so that the test can
// see how far the output reached.
struct Decrypted {
    char bytes[128];
};

Decrypted DecryptIntoFilled(const char *encrypted, const char *key) {
    Decrypted result;
    std::memset(result.bytes, kUntouched, sizeof result.bytes);
    EXPECT_EQ(DecryptPassword(encrypted, result.bytes, key), 1);
    return result;
}

TEST(PasswordTest, HexToBytesDecodesByCharacterCode) {
    struct Case {
        const char *pair;
        unsigned char byte;
    };
    const Case kCases[] = {
        {"00", 0x00},
        {"FF", 0xFF},
        {"A5", 0xA5},
        {"9F", 0x9F},
        {"7E", 0x7E},
        // Lower case counts as code - 48: a is 49, f is 54.
        {"af", 0x46},
        {"0a", 0x31},
        // Other characters too, modulo 256: G is 23, a blank is -16.
        {"G0", 0x70},
        {"  ", 0xF0},
        {"\xFF\xFF", 0xBF},
    };
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.pair);
        unsigned char out[2] = {0x5A, 0x5A};
        HexToBytes(c.pair, 2, out);
        EXPECT_EQ(out[0], c.byte);
        EXPECT_EQ(out[1], 0x5A);
    }
}

TEST(PasswordTest, HexToBytesIgnoresUnpairedCharacter) {
    unsigned char out[3] = {0x5A, 0x5A, 0x5A};
    HexToBytes("ABCDE", 5, out);
    EXPECT_EQ(out[0], 0xAB);
    EXPECT_EQ(out[1], 0xCD);
    EXPECT_EQ(out[2], 0x5A);
}

// Published Blowfish vectors, each 32-bit half written least significant
// byte first: cipher 7D0CC630 AFDA1EC7 becomes 30C60C7D C71EDAAF, and the
// plain block comes out reversed in the same way.
TEST(PasswordTest, DecryptsPublishedVectorsWithHalvesLeastSignificantByteFirst) {
    struct Case {
        const char *key;
        const char *encrypted;
        unsigned char plain[8];
    };
    const Case kCases[] = {
        {"\x11\x11\x11\x11\x11\x11\x11\x11",
         "30C60C7DC71EDAAF",
         {0x67, 0x45, 0x23, 0x01, 0xEF, 0xCD, 0xAB, 0x89}},
        {"\x01\x23\x45\x67\x89\xAB\xCD\xEF",
         "80C3F96196B08122",
         {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11}},
        // A 7-byte key, like the configuration key.
        {"\xF0\xE1\xD2\xC3\xB4\xA5\x96",
         "3270B78B9D6260F9",
         {0x98, 0xBA, 0xDC, 0xFE, 0x10, 0x32, 0x54, 0x76}},
    };
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.encrypted);
        Decrypted out = DecryptIntoFilled(c.encrypted, c.key);
        EXPECT_EQ(std::memcmp(out.bytes, c.plain, 8), 0);
        EXPECT_EQ(out.bytes[8], '\0');
        EXPECT_EQ(out.bytes[9], kUntouched);
    }
}

struct GoldenCase {
    const char *plain;
    const char *encrypted;
};

// Values encrypted under the configuration key by an independent Blowfish
// implementation (halves byte-reversed, zero-padded blocks).
const GoldenCase kGoldenCases[] = {
    {"admin", "D73ADA60571E0C4E"},
    {"orvadat ", "1C2A33DC890C92C7"},
    {"0123456789abcdef", "B4EC938405F666FF31C3C4C1B6B1E45E"},
    {"Kennwort;mit;Semikolon", "F17132B3A0B53F888048EE8251800D9E6DB7D54157B1ACB3"},
    {"\xE4\xF6\xFC\xDF", "1DA16547223C5582"},
};

TEST(PasswordTest, DecryptsFixedCiphertextsUnderConfigKey) {
    for (const GoldenCase &c : kGoldenCases) {
        SCOPED_TRACE(c.plain);
        size_t end = std::strlen(c.encrypted) / 2;
        Decrypted out = DecryptIntoFilled(c.encrypted, kConfigKey);
        EXPECT_STREQ(out.bytes, c.plain);
        // The padding zeros of the last block are written, then the terminator.
        EXPECT_EQ(out.bytes[end], '\0');
        EXPECT_EQ(out.bytes[end + 1], kUntouched);
    }
}

TEST(PasswordTest, EncryptsToFixedCiphertextsUnderConfigKey) {
    for (const GoldenCase &c : kGoldenCases) {
        SCOPED_TRACE(c.plain);
        char out[128];
        EXPECT_EQ(EncryptPassword(c.plain, out, sizeof out, kConfigKey),
                  static_cast<int>(std::strlen(c.encrypted)));
        EXPECT_STREQ(out, c.encrypted);
    }
}

TEST(PasswordTest, EmptyTextGivesEmptyPlainText) {
    Decrypted out = DecryptIntoFilled("", kConfigKey);
    EXPECT_EQ(out.bytes[0], '\0');
    EXPECT_EQ(out.bytes[1], kUntouched);
}

TEST(PasswordTest, ZeroByteEndsTextButWholeBlockIsWritten) {
    Decrypted out = DecryptIntoFilled("46A1DA03ACF28882", kConfigKey);
    EXPECT_STREQ(out.bytes, "AB");
    EXPECT_EQ(std::memcmp(out.bytes, "AB\0CDEFG", 8), 0);
    EXPECT_EQ(out.bytes[8], '\0');
}

TEST(PasswordTest, LowerCaseHexDecodesToOtherBytes) {
    // "0a" is the byte 0x31, not 0x0A.
    Decrypted lower = DecryptIntoFilled("0000000000000a00", kConfigKey);
    Decrypted same = DecryptIntoFilled("0000000000003100", kConfigKey);
    Decrypted upper = DecryptIntoFilled("0000000000000A00", kConfigKey);
    EXPECT_EQ(std::memcmp(lower.bytes, same.bytes, 9), 0);
    EXPECT_NE(std::memcmp(lower.bytes, upper.bytes, 8), 0);
}

// The text ends right before an inaccessible page: reading past its
// terminator to fill an incomplete group would crash.
TEST(PasswordTest, IncompleteLastGroupIsIgnoredWithoutReadingPastText) {
    long pageSize = sysconf(_SC_PAGESIZE);
    ASSERT_GT(pageSize, 0);
    size_t page = static_cast<size_t>(pageSize);
    void *mapping =
        mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(mapping, MAP_FAILED);
    char *area = static_cast<char *>(mapping);
    ASSERT_EQ(mprotect(area + page, page, PROT_NONE), 0);

    struct Case {
        const char *encrypted;
        const char *plain;
        size_t end; // position of the terminator
    };
    const Case kCases[] = {
        {"B4EC938405F666F", "", 0},
        {"B4EC938405F666FF3", "01234567", 8},
        {"B4EC938405F666FF31C3C4C1B6B1E45", "01234567", 8},
        {"B4EC938405F666FF31C3C4C1B6B1E45E0", "0123456789abcdef", 16},
    };
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.encrypted);
        size_t size = std::strlen(c.encrypted) + 1;
        char *text = area + page - size;
        std::memcpy(text, c.encrypted, size);
        Decrypted out = DecryptIntoFilled(text, kConfigKey);
        EXPECT_STREQ(out.bytes, c.plain);
        EXPECT_EQ(out.bytes[c.end], '\0');
        EXPECT_EQ(out.bytes[c.end + 1], kUntouched);
    }
    munmap(mapping, 2 * page);
}

TEST(PasswordTest, EncryptThenDecryptGivesPlainTextBack) {
    const std::string kAlphabet = "Zugang-42;\xE4\xF6\xFC ~!";
    for (size_t length : {0, 1, 7, 8, 9, 16, 50}) {
        SCOPED_TRACE(length);
        std::string plain;
        for (size_t i = 0; i < length; ++i) {
            plain += kAlphabet[i % kAlphabet.size()];
        }
        char encrypted[128];
        int written = EncryptPassword(plain.c_str(), encrypted, sizeof encrypted, kConfigKey);
        int expected = static_cast<int>((length + 7) / 8 * 16);
        ASSERT_EQ(written, expected);
        ASSERT_EQ(std::strlen(encrypted), static_cast<size_t>(expected));
        EXPECT_EQ(std::strspn(encrypted, "0123456789ABCDEF"), static_cast<size_t>(expected));

        Decrypted out = DecryptIntoFilled(encrypted, kConfigKey);
        EXPECT_EQ(std::string(out.bytes), plain);
    }
}

TEST(PasswordTest, EncryptRefusesTooSmallOutput) {
    struct Case {
        const char *plain;
        size_t capacity;
        int result;
    };
    const Case kCases[] = {
        {"admin", 17, 16},     {"admin", 16, -1},     {"admin123", 16, -1},
        {"admin1234", 33, 32}, {"admin1234", 32, -1}, {"", 1, 0},
    };
    for (const Case &c : kCases) {
        SCOPED_TRACE(testing::Message() << c.plain << " in " << c.capacity);
        char out[64];
        std::memset(out, kUntouched, sizeof out);
        EXPECT_EQ(EncryptPassword(c.plain, out, c.capacity, kConfigKey), c.result);
        if (c.result < 0) {
            EXPECT_EQ(out[0], '\0');
        }
        // Nothing beyond the capacity is touched.
        EXPECT_EQ(out[c.capacity], kUntouched);
    }

    char untouched = kUntouched;
    EXPECT_EQ(EncryptPassword("a", &untouched, 0, kConfigKey), -1);
    EXPECT_EQ(untouched, kUntouched);
}

} // namespace
