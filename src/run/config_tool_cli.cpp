// The command line of preluxa-ini: argument checks, values from standard
// input, usage text.
#include "run/config_tool.h"

#include "run/config.h"
#include "run/password.h"

#include <cstring>
#include <unistd.h>

namespace {

// One line read from standard input.
constexpr size_t kInputLineCapacity = 256;

constexpr char kUsage[] =
    "usage: preluxa-ini write FILE LOGIN PASSWORD HOST SCHEMA\n"
    "       preluxa-ini set FILE KEY VALUE\n"
    "       preluxa-ini list FILE [--show-password]\n"
    "       preluxa-ini encrypt VALUE\n"
    "\n"
    "write    creates or replaces FILE with the entries LOGIN, PASS, NET8 and SCHEMA.\n"
    "set      replaces the value of the first entry with KEY, or appends an entry;\n"
    "         all other lines of FILE stay as they are.\n"
    "list     shows the values the download generator reads from FILE; the\n"
    "         password is shown as *** unless --show-password is given.\n"
    "encrypt  prints the encrypted form of VALUE.\n"
    "\n"
    "A value given as - is read as one line from standard input, so that a\n"
    "password need not appear in the process list.\n"
    "LOGIN, PASSWORD and HOST take at most 50 characters, the SCHEMA name at most\n"
    "20; values must not be empty nor contain line breaks. The generator drops the\n"
    "last character of the stored SCHEMA value, so write and set store the schema\n"
    "name followed by one blank (encrypt does not: add it yourself for SCHEMA).\n"
    "FILE is written to a temporary file beside it and renamed, mode 0600.\n";

int IsWord(const char *argument, const char *word) {
    return std::strcmp(argument, word) == 0;
}

int Usage(std::FILE *stream, int status) {
    std::fputs(kUsage, stream);
    return status;
}

// Reads one line from `in` into `value`, without its line end.
int ReadInputValue(std::FILE *in, const char *name, char *value, size_t capacity, std::FILE *err) {
    if (isatty(fileno(in))) {
        std::fprintf(err, "%s: ", name);
        std::fflush(err);
    }
    size_t length = 0;
    int any = 0;
    int c;
    while ((c = std::fgetc(in)) != EOF) {
        any = 1;
        if (c == '\n') {
            break;
        }
        if (c == '\0') {
            std::fprintf(err, "preluxa-ini: %s contains a zero byte\n", name);
            return 0;
        }
        if (length + 1 >= capacity) {
            std::fprintf(err, "preluxa-ini: %s on standard input is too long\n", name);
            return 0;
        }
        value[length++] = static_cast<char>(c);
    }
    if (!any) {
        std::fprintf(err, "preluxa-ini: no line on standard input for %s\n", name);
        return 0;
    }
    if (length > 0 && value[length - 1] == '\r') {
        --length;
    }
    value[length] = '\0';
    return 1;
}

// The argument itself, or for "-" the next line of standard input; null
// after a message when that cannot be read.
const char *ValueArgument(const char *argument, std::FILE *in, const char *name, char *buffer,
                          size_t capacity, std::FILE *err) {
    if (!IsWord(argument, "-")) {
        return argument;
    }
    return ReadInputValue(in, name, buffer, capacity, err) ? buffer : nullptr;
}

int EncryptCommand(const char *value, std::FILE *out, std::FILE *err) {
    if (!CheckConfigEntry("VALUE", value, err)) {
        return kToolFailure;
    }
    char hex[kConfigFieldCapacity + 1];
    if (EncryptPassword(value, hex, sizeof hex, kConfigKey) < 0) {
        std::fputs("preluxa-ini: the value is too long\n", err);
        return kToolFailure;
    }
    std::fprintf(out, "%s\n", hex);
    return kToolSuccess;
}

int RunCommand(int argc, const char *const *argv, std::FILE *in, std::FILE *out, std::FILE *err) {
    if (argc < 2) {
        return Usage(err, kToolUsageError);
    }
    const char *command = argv[1];
    if (IsWord(command, "help") || IsWord(command, "--help") || IsWord(command, "-h")) {
        return Usage(out, kToolSuccess);
    }
    if (IsWord(command, "write") && argc == 7) {
        static const char *const kNames[4] = {"LOGIN", "PASSWORD", "HOST", "SCHEMA"};
        char input[4][kInputLineCapacity];
        const char *values[4];
        for (int i = 0; i < 4; ++i) {
            values[i] = ValueArgument(argv[3 + i], in, kNames[i], input[i], sizeof input[i], err);
            if (values[i] == nullptr) {
                return kToolFailure;
            }
        }
        return WriteConfigFile(argv[2], values[0], values[1], values[2], values[3], err);
    }
    if (IsWord(command, "set") && argc == 5) {
        char input[kInputLineCapacity];
        const char *value = ValueArgument(argv[4], in, argv[3], input, sizeof input, err);
        if (value == nullptr) {
            return kToolFailure;
        }
        return SetConfigEntry(argv[2], argv[3], value, err);
    }
    if (IsWord(command, "list") && argc == 3) {
        return ListConfigFile(argv[2], 0, out, err);
    }
    if (IsWord(command, "list") && argc == 4 && IsWord(argv[3], "--show-password")) {
        return ListConfigFile(argv[2], 1, out, err);
    }
    if (IsWord(command, "encrypt") && argc == 3) {
        char input[kInputLineCapacity];
        const char *value = ValueArgument(argv[2], in, "VALUE", input, sizeof input, err);
        if (value == nullptr) {
            return kToolFailure;
        }
        return EncryptCommand(value, out, err);
    }
    return Usage(err, kToolUsageError);
}

} // namespace

int RunConfigTool(int argc, const char *const *argv, std::FILE *in, std::FILE *out,
                  std::FILE *err) {
    int status = RunCommand(argc, argv, in, out, err);
    if (std::fflush(out) != 0 || std::ferror(out)) {
        std::fputs("preluxa-ini: cannot write the output\n", err);
        return kToolFailure;
    }
    return status;
}
