#include "common/text.h"

#include <climits>
#include <cstring>

char *TrimRight(char *text) {
    size_t length = std::strlen(text);
    size_t end = length;
    while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t')) {
        --end;
    }
    // A text made only of blanks and tabs is kept as it is.
    if (end > 0) {
        text[end] = '\0';
    }
    return text;
}

const char *TrimLeft(const char *text) {
    const char *p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n') {
        ++p;
    }
    return *p == '\0' ? text : p;
}

char *UpperCaseInPlace(char *text) {
    for (char *p = text; *p != '\0'; ++p) {
        if (*p >= 'a' && *p <= 'z') {
            *p = static_cast<char>(*p - 'a' + 'A');
        }
    }
    return text;
}

int ParseLeadingDecimal(const char *text) {
    if (text == nullptr) {
        return 0;
    }
    const char *p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value <= static_cast<long long>(INT_MAX) + 1) {
            value = value * 10 + (*p - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

int CopyText(char *target, size_t capacity, const char *source) {
    size_t length = std::strlen(source);
    if (capacity == 0) {
        return 0;
    }
    if (length >= capacity) {
        target[0] = '\0';
        return 0;
    }
    std::memcpy(target, source, length + 1);
    return 1;
}

size_t PlaceText(char *record, size_t column, size_t width, const char *source) {
    size_t length = std::strlen(source);
    size_t placed = length < width ? length : width;
    std::memcpy(record + column, source, placed);
    return length - placed;
}

void FillColumns(char *record, size_t column, size_t count, char fill) {
    std::memset(record + column, fill, count);
}
