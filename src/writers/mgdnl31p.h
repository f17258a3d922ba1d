// The access-profile file MGDNL31P: one 48-character record per badge and
// access item, records back to back without line breaks.
#pragma once

#include "common/records.h"

// Writes the file for the terminal to the open download file. Returns 1 when
// every badge was processed, 0 when the walk ended with an error.
int WriteMGDNL31P(const char *downloadPath, TerminalRecord *terminal);
