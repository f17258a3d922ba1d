// The badge master file IDSTAMM: one line of 14 quoted, comma-separated fields
// per badge and access item, each line ending in CR LF.
#pragma once

#include "common/records.h"

#include <cstddef>

// Writes the file for the terminal to the open download file. Returns 1 when
// every badge was processed, 0 when the walk ended with an error.
int WriteIDSTAMM(const char *downloadPath, TerminalRecord *terminal);

// Builds one IDSTAMM line (CR LF included) for the badge with `bookingClass`
// as field 10 and `displaySet` as field 8. Returns its length, or 0 when a
// field holds a double quote, CR or LF; `badField` then names it.
size_t FormatIDSTAMMLine(const BadgeRecord *badge, const char *displaySet, const char *bookingClass,
                         char *line, size_t capacity, const char **badField);
