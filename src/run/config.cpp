#include "run/config.h"

#include "common/text.h"
#include "run/password.h"

#include <climits>
#include <cstdio>
#include <cstring>

char ConfigValue[kConfigFieldCapacity + 1];
int ConfigErrorLine;

namespace {

// Line buffers, terminator included: a heading line holds at most 199
// characters, a value line at most 399, line feed included.
constexpr size_t kHeadingLineCapacity = 200;
constexpr size_t kValueLineCapacity = 400;

// Holder for the number's text: at most 11 characters.
constexpr size_t kNumberCapacity = 12;

// Result of ReadLine.
constexpr int LINE_READ = 1;
constexpr int LINE_NONE = 0;      // end of file (or a read error) before the first byte
constexpr int LINE_TOO_LONG = -1; // the line does not fit its buffer

// The fields of one entry, each cut from its two lines.
struct ConfigEntry {
    char section[kConfigFieldCapacity + 1]; // between the heading line's first and second ";"
    char key[kConfigFieldCapacity + 1];     // between the value line's first and second ";"
    char value[kConfigFieldCapacity + 1];   // encrypted value, after the second ";"
    int number;                             // the value line's text before the first ";"
};

// Appends one byte to a line being read; 0 when the line buffer is full.
int AppendLineByte(char *line, size_t capacity, size_t *length, char byte) {
    if (*length + 1 >= capacity) {
        return 0;
    }
    line[(*length)++] = byte;
    return 1;
}

// Reads one line, line feed included, into `line` and zero-terminates it. A
// carriage return directly before the line feed is dropped; every other byte,
// zero bytes included, is kept and counts towards the length, so the line's
// text ends at its first zero byte. Byte by byte rather than fgets, because
// fgets cannot tell a zero byte in the line from the end of what it read.
int ReadLine(std::FILE *file, char *line, size_t capacity) {
    size_t length = 0;
    bool anyRead = false;
    bool pendingReturn = false; // a carriage return whose fate depends on the next byte
    int c;
    while ((c = std::fgetc(file)) != EOF) {
        anyRead = true;
        if (c == '\n') {
            pendingReturn = false;
            if (!AppendLineByte(line, capacity, &length, '\n')) {
                return LINE_TOO_LONG;
            }
            break;
        }
        if (pendingReturn) {
            pendingReturn = false;
            if (!AppendLineByte(line, capacity, &length, '\r')) {
                return LINE_TOO_LONG;
            }
        }
        if (c == '\r') {
            pendingReturn = true;
            continue;
        }
        if (!AppendLineByte(line, capacity, &length, static_cast<char>(c))) {
            return LINE_TOO_LONG;
        }
    }
    // A carriage return at the very end of the file is not part of a CR LF.
    if (pendingReturn && !AppendLineByte(line, capacity, &length, '\r')) {
        return LINE_TOO_LONG;
    }
    if (!anyRead) {
        return LINE_NONE;
    }
    line[length] = '\0';
    return LINE_READ;
}

// Cuts the section out of a heading line. Fewer than two ";" give an empty
// section; two in a row give the rest of the line from the second one on.
int CutHeadingLine(const char *line, ConfigEntry *entry) {
    int p1 = FindNthChar(line, ';', 1);
    int p2 = FindNthChar(line, ';', 2);
    return CopySubstring(line, p1 + 1, p2 - p1 - 1, entry->section, sizeof entry->section);
}

// Cuts number, key and value out of a value line; 0 when the line cannot be
// read safely. The quirks of the field cutting are kept on purpose: entries
// written for them must keep reading the same way.
int CutValueLine(const char *line, ConfigEntry *entry) {
    int p1 = FindNthChar(line, ';', 1);
    int p2 = FindNthChar(line, ';', 2);
    if (p1 < 0 || p1 > static_cast<int>(kNumberCapacity) - 1) {
        return 0;
    }

    // An empty number field means "copy to the end of the line"; only its
    // start fits the holder, and as it starts with ";" it reads as 0.
    char numberText[kNumberCapacity] = {};
    int numberCount = p1 == 0 ? static_cast<int>(kNumberCapacity) - 1 : p1;
    if (!CopySubstring(line, 0, numberCount, numberText, sizeof numberText)) {
        return 0;
    }
    entry->number = ParseLeadingDecimal(numberText);

    // A single ";" gives p2 == p1 and so an empty key; two in a row give the
    // rest of the line from the second one on.
    if (!CopySubstring(line, p1 + 1, p2 - p1 - 1, entry->key, sizeof entry->key)) {
        return 0;
    }

    // Without a line feed (the last line of the file) the value runs to the end
    // of the line; a line ending in ";" and the line feed has an empty value.
    int pLF = FindNthChar(line, '\n', 1);
    if (pLF < 0) {
        return CopySubstring(line, p2 + 1, 0, entry->value, sizeof entry->value);
    }
    if (pLF - p2 - 1 <= 0) {
        entry->value[0] = '\0';
        return 1;
    }
    return CopySubstring(line, p2 + 1, pLF - p2 - 1, entry->value, sizeof entry->value);
}

// Reads entries until one matches; leaves its fields in `entry`. Sets
// ConfigErrorLine for CONFIG_MALFORMED.
int FindEntry(std::FILE *file, const char *section, const char *key, int number,
              ConfigEntry *entry) {
    char headingLine[kHeadingLineCapacity];
    char valueLine[kValueLineCapacity];
    int lineNumber = 0;
    for (;;) {
        *entry = ConfigEntry{};

        int status = ReadLine(file, headingLine, sizeof headingLine);
        if (status == LINE_NONE) {
            return CONFIG_NOT_FOUND;
        }
        ++lineNumber;
        if (status == LINE_TOO_LONG || !CutHeadingLine(headingLine, entry)) {
            ConfigErrorLine = lineNumber;
            return CONFIG_MALFORMED;
        }

        // A last heading line without a value line is ignored.
        status = ReadLine(file, valueLine, sizeof valueLine);
        if (status == LINE_NONE) {
            return CONFIG_NOT_FOUND;
        }
        ++lineNumber;
        if (status == LINE_TOO_LONG || !CutValueLine(valueLine, entry)) {
            ConfigErrorLine = lineNumber;
            return CONFIG_MALFORMED;
        }

        if (std::strcmp(entry->section, section) == 0 || std::strcmp(entry->key, key) == 0 ||
            entry->number == number) {
            return CONFIG_FOUND;
        }
    }
}

} // namespace

int ReadConfigValue(const char *section, const char *key, int number, const char *path) {
    ConfigValue[0] = '\0';
    ConfigErrorLine = 0;
    if (path == nullptr) {
        return CONFIG_NOT_FOUND;
    }
    std::FILE *file = std::fopen(path, "r");
    if (file == nullptr) {
        return CONFIG_NOT_FOUND;
    }
    ConfigEntry entry;
    int status = FindEntry(file, section != nullptr ? section : "", key != nullptr ? key : "",
                           number, &entry);
    std::fclose(file);
    if (status != CONFIG_FOUND) {
        return status;
    }

    // Decryption needs half the value's length plus one byte; the value's own
    // capacity is more than enough.
    char plain[kConfigFieldCapacity + 1] = {};
    DecryptPassword(entry.value, plain, kConfigKey);
    CopyText(ConfigValue, sizeof ConfigValue, plain);
    return CONFIG_FOUND;
}

int FindNthChar(const char *text, char c, int n) {
    if (text == nullptr) {
        return -1;
    }
    int found = -1;
    int count = 0;
    for (int i = 0; i < INT_MAX && text[i] != '\0'; ++i) {
        if (text[i] == c) {
            found = i;
            if (++count == n) {
                break;
            }
        }
    }
    return found;
}

int CopySubstring(const char *text, int start, int count, char *dest, size_t capacity) {
    if (count < 0) {
        return 1;
    }
    if (capacity == 0) {
        return 0;
    }
    if (text == nullptr) {
        text = "";
    }
    size_t length = std::strlen(text);
    size_t from = start < 0 ? length : static_cast<size_t>(start);
    size_t available = from < length ? length - from : 0;
    size_t copied = count == 0 || static_cast<size_t>(count) > available
                        ? available
                        : static_cast<size_t>(count);
    if (copied >= capacity) {
        dest[0] = '\0';
        return 0;
    }
    if (copied > 0) {
        std::memcpy(dest, text + from, copied);
    }
    dest[copied] = '\0';
    return 1;
}
