// preluxa-ini, the administrators' tool for the configuration file from which
// the download generator reads its database login: writing the four login
// entries, changing one entry, showing what the generator will read, and
// encrypting a single value. Messages go to the given streams so that the
// commands can be run from tests.
#pragma once

#include <cstddef>
#include <cstdio>

// Exit statuses.
constexpr int kToolSuccess = 0;
constexpr int kToolFailure = 1;
constexpr int kToolUsageError = 2;

// Longest plain values the generator accepts: LOGIN, PASS and NET8, and the
// schema name (stored under SCHEMA with one extra character).
constexpr size_t kLoginValueCapacity = 50;
constexpr size_t kSchemaNameCapacity = 20;
// Longest plain value of any other key: its encrypted text, 16 characters per
// 8 bytes, must fit the file's 200-character value field.
constexpr size_t kOtherValueCapacity = 96;
// Longest key; keys are printable ASCII without blanks and ";".
constexpr size_t kKeyCapacity = 40;

// Checks a key and the plain value meant for it. Returns 1, or 0 after
// printing the reason to err.
int CheckConfigEntry(const char *key, const char *value, std::FILE *err);

// Creates or replaces the file at path with the entries LOGIN, PASS, NET8 and
// SCHEMA, numbered 1 to 4, each under the heading "PRELUXA;DB;". Returns an
// exit status.
int WriteConfigFile(const char *path, const char *login, const char *password, const char *host,
                    const char *schema, std::FILE *err);

// Replaces the value of the first entry whose key is `key`, or appends an
// entry with the next free number; every other line stays byte for byte.
// Returns an exit status.
int SetConfigEntry(const char *path, const char *key, const char *value, std::FILE *err);

// Prints, for LOGIN, PASS, NET8 and SCHEMA, the value the generator reads,
// the password as *** unless showPassword, and the schema name it uses.
// Returns kToolSuccess when all four were found.
int ListConfigFile(const char *path, int showPassword, std::FILE *out, std::FILE *err);

// Runs one command line. A value given as "-" is read as one line from `in`.
int RunConfigTool(int argc, const char *const *argv, std::FILE *in, std::FILE *out, std::FILE *err);
