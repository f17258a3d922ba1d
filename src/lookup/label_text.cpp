#include "lookup/label_text.h"

#include <cstring>

namespace {

constexpr char kTildeEntity[] = "&#241;";
constexpr size_t kTildeEntityLength = sizeof kTildeEntity - 1;
constexpr char kTildeByte = '\xF1'; // n with tilde in Windows-1252

} // namespace

void DecodeLabelText(char *text) {
    char *entity = std::strstr(text, kTildeEntity);
    if (entity != nullptr) {
        // The text only gets shorter, so it is rebuilt in its own storage.
        char *rest = entity + kTildeEntityLength;
        *entity = kTildeByte;
        std::memmove(entity + 1, rest, std::strlen(rest) + 1);
    }
    if (std::strlen(text) > kLabelTextWidth) {
        text[kLabelTextWidth] = '\0';
    }
}

void FormatLabel(char *label, const char *text) {
    size_t length = std::strlen(text);
    if (length > kLabelTextWidth) {
        length = kLabelTextWidth;
    }
    std::memcpy(label, text, length);
    std::memset(label + length, ' ', kLabelWidth - length);
    label[kLabelWidth] = '\0';
}
