#include "run/config_tool.h"

#include "common/text.h"
#include "run/atomic_file.h"
#include "run/config.h"
#include "run/config_lines.h"
#include "run/password.h"

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

constexpr char kHeadingLine[] = "PRELUXA;DB;\n";

// The four keys the generator reads, in the order it reads them.
constexpr const char *kLoginKeys[4] = {"LOGIN", "PASS", "NET8", "SCHEMA"};

// Longest plain value as stored: any value, plus the blank behind a schema name.
constexpr size_t kStoredValueCapacity = kOtherValueCapacity + 1;

int IsKey(const char *key, const char *name) {
    return std::strcmp(key, name) == 0;
}

size_t ValueCapacityOf(const char *key) {
    if (IsKey(key, "LOGIN") || IsKey(key, "PASS") || IsKey(key, "NET8")) {
        return kLoginValueCapacity;
    }
    if (IsKey(key, "SCHEMA")) {
        return kSchemaNameCapacity;
    }
    return kOtherValueCapacity;
}

// The text stored for a value: the generator drops the last character of
// the SCHEMA value, so a schema name gets one blank behind it.
int BuildStoredValue(const char *key, const char *value, char *stored, size_t capacity) {
    if (!CopyText(stored, capacity, value)) {
        return 0;
    }
    if (IsKey(key, "SCHEMA")) {
        size_t length = std::strlen(stored);
        if (length + 2 > capacity) {
            stored[0] = '\0';
            return 0;
        }
        stored[length] = ' ';
        stored[length + 1] = '\0';
    }
    return 1;
}

int EncryptStoredValue(const char *key, const char *value, char *hex, size_t capacity) {
    char stored[kStoredValueCapacity + 1];
    if (!BuildStoredValue(key, value, stored, sizeof stored)) {
        return 0;
    }
    return EncryptPassword(stored, hex, capacity, kConfigKey) >= 0;
}

// Writes one entry: the heading line and "number;key;encrypted value".
int WriteEntry(std::FILE *file, int number, const char *key, const char *value) {
    char hex[kConfigFieldCapacity + 1];
    if (!EncryptStoredValue(key, value, hex, sizeof hex)) {
        return 0;
    }
    return std::fprintf(file, "%s%d;%s;%s\n", kHeadingLine, number, key, hex) > 0;
}

// Reads the finished file back the way the generator does and checks that
// `key` gives the stored form of `value`. Catches an entry that an earlier
// one shadows: one with an empty section or a number reading 0 answers every
// lookup.
int VerifyEntry(const char *path, const char *key, const char *value, std::FILE *err) {
    char stored[kStoredValueCapacity + 1];
    if (!BuildStoredValue(key, value, stored, sizeof stored)) {
        return 0;
    }
    int status = ReadConfigValue("", key, 0, path);
    if (status == CONFIG_FOUND && std::strcmp(ConfigValue, stored) == 0) {
        return 1;
    }
    if (status == CONFIG_MALFORMED) {
        std::fprintf(err, "preluxa-ini: the generator cannot read line %d of the file\n",
                     ConfigErrorLine);
    } else {
        std::fprintf(err,
                     "preluxa-ini: the generator would not read %s as written; an earlier "
                     "entry with an empty section or a number reading 0 answers every lookup\n",
                     key);
    }
    return 0;
}

// Checks the temporary file and puts it in place; discards it on any failure.
int FinishReplacement(AtomicFile *replacement, const char *const *keys, const char *const *values,
                      int count, std::FILE *err) {
    if (!CloseAtomicFile(replacement)) {
        std::fprintf(err, "preluxa-ini: cannot write %s: %s\n", replacement->tempPath,
                     std::strerror(errno));
        DiscardAtomicFile(replacement);
        return kToolFailure;
    }
    for (int i = 0; i < count; ++i) {
        if (!VerifyEntry(replacement->tempPath, keys[i], values[i], err)) {
            std::fprintf(err, "preluxa-ini: %s left unchanged\n", replacement->targetPath);
            DiscardAtomicFile(replacement);
            return kToolFailure;
        }
    }
    if (!CommitAtomicFile(replacement)) {
        std::fprintf(err, "preluxa-ini: cannot replace %s: %s\n", replacement->targetPath,
                     std::strerror(errno));
        DiscardAtomicFile(replacement);
        return kToolFailure;
    }
    return kToolSuccess;
}

} // namespace

int CheckConfigEntry(const char *key, const char *value, std::FILE *err) {
    size_t keyLength = std::strlen(key);
    if (keyLength == 0 || keyLength > kKeyCapacity) {
        std::fprintf(err, "preluxa-ini: a key has 1 to %zu characters\n", kKeyCapacity);
        return 0;
    }
    for (const char *p = key; *p != '\0'; ++p) {
        if (*p <= ' ' || *p > '~' || *p == ';') {
            std::fprintf(err, "preluxa-ini: key %s: only printable characters, no blank, no ;\n",
                         key);
            return 0;
        }
    }
    if (std::strpbrk(value, "\r\n") != nullptr) {
        std::fprintf(err, "preluxa-ini: the value for %s contains a line break\n", key);
        return 0;
    }
    size_t length = std::strlen(value);
    if (length == 0) {
        std::fprintf(err, "preluxa-ini: the value for %s is empty\n", key);
        return 0;
    }
    size_t capacity = ValueCapacityOf(key);
    if (length > capacity) {
        std::fprintf(err, "preluxa-ini: the value for %s has %zu characters, at most %zu allowed\n",
                     key, length, capacity);
        return 0;
    }
    return 1;
}

int WriteConfigFile(const char *path, const char *login, const char *password, const char *host,
                    const char *schema, std::FILE *err) {
    const char *values[4] = {login, password, host, schema};
    for (int i = 0; i < 4; ++i) {
        if (!CheckConfigEntry(kLoginKeys[i], values[i], err)) {
            return kToolFailure;
        }
    }
    AtomicFile replacement = {};
    if (!OpenAtomicFile(&replacement, path)) {
        std::fprintf(err, "preluxa-ini: cannot create a file beside %s: %s\n", path,
                     std::strerror(errno));
        return kToolFailure;
    }
    // Numbers from 1: an entry numbered 0 would answer every lookup.
    for (int i = 0; i < 4; ++i) {
        if (!WriteEntry(replacement.file, i + 1, kLoginKeys[i], values[i])) {
            std::fprintf(err, "preluxa-ini: cannot write %s: %s\n", replacement.tempPath,
                         std::strerror(errno));
            DiscardAtomicFile(&replacement);
            return kToolFailure;
        }
    }
    return FinishReplacement(&replacement, kLoginKeys, values, 4, err);
}

int SetConfigEntry(const char *path, const char *key, const char *value, std::FILE *err) {
    if (!CheckConfigEntry(key, value, err)) {
        return kToolFailure;
    }
    char hex[kConfigFieldCapacity + 1];
    if (!EncryptStoredValue(key, value, hex, sizeof hex)) {
        std::fprintf(err, "preluxa-ini: the value for %s is too long\n", key);
        return kToolFailure;
    }
    std::FILE *in = std::fopen(path, "rb");
    if (in == nullptr) {
        std::fprintf(err, "preluxa-ini: cannot open %s: %s\n", path, std::strerror(errno));
        return kToolFailure;
    }
    AtomicFile replacement = {};
    if (!OpenAtomicFile(&replacement, path)) {
        std::fprintf(err, "preluxa-ini: cannot create a file beside %s: %s\n", path,
                     std::strerror(errno));
        std::fclose(in);
        return kToolFailure;
    }

    EntryCopy copy;
    int copied = CopyReplacingEntry(in, replacement.file, key, hex, &copy, err);
    std::fclose(in);
    if (!copied) {
        DiscardAtomicFile(&replacement);
        return kToolFailure;
    }

    if (!copy.replaced) {
        // A heading line without its value line would pair up with the new
        // heading line and turn the new entry into nonsense.
        if (copy.lineCount % 2 != 0) {
            std::fprintf(err,
                         "preluxa-ini: %s has an odd number of lines; its last entry is "
                         "incomplete\n",
                         path);
            DiscardAtomicFile(&replacement);
            return kToolFailure;
        }
        if (copy.highestNumber == INT_MAX) {
            std::fprintf(err, "preluxa-ini: no entry number left in %s\n", path);
            DiscardAtomicFile(&replacement);
            return kToolFailure;
        }
        // The last line is ended first, or the new heading would continue it.
        if (!copy.lastHadLineFeed) {
            std::fputc('\n', replacement.file);
        }
        if (!WriteEntry(replacement.file, copy.highestNumber + 1, key, value)) {
            std::fprintf(err, "preluxa-ini: cannot write %s: %s\n", replacement.tempPath,
                         std::strerror(errno));
            DiscardAtomicFile(&replacement);
            return kToolFailure;
        }
    }
    const char *keys[1] = {key};
    const char *values[1] = {value};
    return FinishReplacement(&replacement, keys, values, 1, err);
}

int ListConfigFile(const char *path, int showPassword, std::FILE *out, std::FILE *err) {
    // ReadConfigValue cannot tell a missing file from a missing key.
    std::FILE *probe = std::fopen(path, "r");
    if (probe == nullptr) {
        std::fprintf(err, "preluxa-ini: cannot open %s: %s\n", path, std::strerror(errno));
        return kToolFailure;
    }
    std::fclose(probe);

    int result = kToolSuccess;
    for (const char *key : kLoginKeys) {
        char label[16];
        std::snprintf(label, sizeof label, "%s:", key);
        int status = ReadConfigValue("", key, 0, path);
        if (status == CONFIG_MALFORMED) {
            std::fprintf(out, "%-7s (the generator cannot read line %d)\n", label, ConfigErrorLine);
            result = kToolFailure;
            continue;
        }
        if (status != CONFIG_FOUND) {
            std::fprintf(out, "%-7s (not found)\n", label);
            result = kToolFailure;
            continue;
        }
        char value[kConfigFieldCapacity + 1];
        CopyText(value, sizeof value, ConfigValue);
        size_t length = std::strlen(value);
        if (IsKey(key, "PASS") && !showPassword) {
            std::fprintf(out, "%-7s ***", label);
        } else {
            std::fprintf(out, "%-7s \"%s\"", label, value);
        }
        // The generator uses the SCHEMA value without its last character.
        size_t capacity = kLoginValueCapacity;
        if (IsKey(key, "SCHEMA")) {
            capacity = kSchemaNameCapacity + 1;
            if (length > 0) {
                value[length - 1] = '\0';
            }
            std::fprintf(out, " (schema used: %s)", UpperCaseInPlace(value));
        }
        if (length > capacity) {
            std::fprintf(out, " (longer than the generator's %zu characters)", capacity);
            result = kToolFailure;
        }
        std::fputc('\n', out);
    }
    return result;
}
