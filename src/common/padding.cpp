#include "common/padding.h"

#include <cstring>

size_t PaddedLength(const char *source, size_t width) {
    size_t length = std::strlen(source);
    return length > width ? length : width;
}

namespace {

int PadText(char *target, size_t capacity, const char *source, size_t width, char fill,
            bool fillOnLeft) {
    size_t length = std::strlen(source);
    size_t padded = PaddedLength(source, width);
    if (capacity == 0) {
        return 0;
    }
    if (padded >= capacity) {
        target[0] = '\0';
        return 0;
    }
    size_t fillCount = padded - length;
    size_t textAt = fillOnLeft ? fillCount : 0;
    std::memset(target + (fillOnLeft ? 0 : length), fill, fillCount);
    std::memcpy(target + textAt, source, length);
    target[padded] = '\0';
    return 1;
}

} // namespace

int PadLeftWithZeros(char *target, size_t capacity, const char *source, size_t width) {
    return PadText(target, capacity, source, width, '0', true);
}

int PadRightWithBlanks(char *target, size_t capacity, const char *source, size_t width) {
    return PadText(target, capacity, source, width, ' ', false);
}
