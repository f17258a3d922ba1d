#include "run/config_lines.h"

#include "common/text.h"

#include <cstring>

namespace {

// Holder for the text of an entry's number: at most 11 characters.
constexpr size_t kNumberCapacity = 12;

// Result of ReadRawLine.
constexpr int RAW_LINE_READ = 1;
constexpr int RAW_LINE_END = 0;       // nothing left to read
constexpr int RAW_LINE_TOO_LONG = -1; // the line does not fit the buffer
constexpr int RAW_LINE_ERROR = -2;    // a read error

// Reads one line, line feed included, byte for byte into `line`, not
// zero-terminated: zero bytes and carriage returns are kept.
int ReadRawLine(std::FILE *file, char *line, size_t capacity, size_t *length) {
    *length = 0;
    int c;
    while ((c = std::fgetc(file)) != EOF) {
        if (*length + 1 >= capacity) {
            return RAW_LINE_TOO_LONG;
        }
        line[(*length)++] = static_cast<char>(c);
        if (c == '\n') {
            return RAW_LINE_READ;
        }
    }
    if (std::ferror(file)) {
        return RAW_LINE_ERROR;
    }
    return *length > 0 ? RAW_LINE_READ : RAW_LINE_END;
}

// The number of a value line: its text before the first ";", read the way
// the generator reads it (at most 11 characters).
int EntryNumber(const char *line, size_t firstSemicolon) {
    char text[kNumberCapacity];
    size_t count = firstSemicolon < kNumberCapacity - 1 ? firstSemicolon : kNumberCapacity - 1;
    std::memcpy(text, line, count);
    text[count] = '\0';
    return ParseLeadingDecimal(text);
}

} // namespace

int CopyReplacingEntry(std::FILE *in, std::FILE *out, const char *key, const char *hex,
                       EntryCopy *copy, std::FILE *err) {
    copy->replaced = 0;
    copy->lineCount = 0;
    copy->lastHadLineFeed = 1;
    copy->highestNumber = 0;

    char line[kFileLineCapacity];
    size_t length = 0;
    size_t keyLength = std::strlen(key);
    int status;
    while ((status = ReadRawLine(in, line, sizeof line, &length)) == RAW_LINE_READ) {
        ++copy->lineCount;
        copy->lastHadLineFeed = line[length - 1] == '\n';
        // Odd lines are headings; an entry's number and key are in the even ones.
        const char *first = nullptr;
        if (copy->lineCount % 2 == 0) {
            first = static_cast<const char *>(std::memchr(line, ';', length));
        }
        if (first == nullptr) {
            std::fwrite(line, 1, length, out);
            continue;
        }
        int number = EntryNumber(line, static_cast<size_t>(first - line));
        if (number > copy->highestNumber) {
            copy->highestNumber = number;
        }
        size_t rest = length - static_cast<size_t>(first - line) - 1;
        const char *second = static_cast<const char *>(std::memchr(first + 1, ';', rest));
        if (copy->replaced || second == nullptr ||
            static_cast<size_t>(second - first - 1) != keyLength ||
            std::memcmp(first + 1, key, keyLength) != 0) {
            std::fwrite(line, 1, length, out);
            continue;
        }
        size_t prefix = static_cast<size_t>(second - line) + 1;
        const char *ending = "\n";
        if (length >= 2 && line[length - 2] == '\r' && line[length - 1] == '\n') {
            ending = "\r\n";
        }
        std::fwrite(line, 1, prefix, out);
        std::fputs(hex, out);
        std::fputs(ending, out);
        copy->replaced = 1;
        copy->lastHadLineFeed = 1;
    }
    if (status == RAW_LINE_TOO_LONG) {
        std::fprintf(err, "preluxa-ini: line %d is longer than %zu characters\n",
                     copy->lineCount + 1, kFileLineCapacity - 1);
        return 0;
    }
    if (status == RAW_LINE_ERROR) {
        std::fprintf(err, "preluxa-ini: cannot read line %d\n", copy->lineCount + 1);
        return 0;
    }
    // Write errors are caught when the output is closed.
    return 1;
}
