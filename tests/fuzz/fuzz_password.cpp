// Decryption of arbitrary text into a buffer of exactly the documented size,
// and encryption round trips of arbitrary plain texts.
#include "run/password.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // The encrypted text as a zero-terminated text of exactly its own length.
    std::vector<char> encrypted(data, data + size);
    encrypted.push_back('\0');
    size_t length = std::strlen(encrypted.data());
    std::vector<char> plain(length / 2 + 1);
    if (DecryptPassword(encrypted.data(), plain.data(), kConfigKey) != 1) {
        std::abort();
    }
    std::vector<unsigned char> bytes(size / 2);
    HexToBytes(reinterpret_cast<const char *>(data), size, bytes.data());

    // Round trip: the plain text up to its first zero byte comes back whole.
    std::vector<char> text(data, data + (size < 96 ? size : 96));
    text.push_back('\0');
    char cipher[2 * 104 + 1];
    int cipherLength = EncryptPassword(text.data(), cipher, sizeof cipher, kConfigKey);
    if (cipherLength < 0) {
        std::abort();
    }
    std::vector<char> back(static_cast<size_t>(cipherLength) / 2 + 1);
    DecryptPassword(cipher, back.data(), kConfigKey);
    if (std::strcmp(back.data(), text.data()) != 0) {
        std::abort();
    }
    return 0;
}
