// Changing one entry of a configuration file while copying it line by line;
// every other byte is copied unchanged.
#pragma once

#include <cstddef>
#include <cstdio>

// Longest line, line feed included, plus the terminator: like the
// generator's value-line buffer, so a longer line is not read by it either.
constexpr size_t kFileLineCapacity = 400;

// What CopyReplacingEntry found.
struct EntryCopy {
    int replaced;        // 1 when a value line with the key got the new value
    int lineCount;       // lines read
    int lastHadLineFeed; // 1 when the last line ended with a line feed, or there was none
    int highestNumber;   // highest entry number of a value line, 0 at least
};

// Copies `in` to `out`. The first value line (lines 2, 4, ...) whose key is
// `key` gets `hex` as its value; its "number;key;" and its line end are kept.
// Returns 1, or 0 after printing the reason to err.
int CopyReplacingEntry(std::FILE *in, std::FILE *out, const char *key, const char *hex,
                       EntryCopy *copy, std::FILE *err);
