// The authorisation file MGDNL60P: per badge row one 45-character record per
// access item (or one for a time authorisation only), with the TswW09
// balance and three reader fields; records back to back without line breaks.
#pragma once

#include "common/records.h"

// Writes the file for the terminal to the open download file. Returns 1 when
// every badge was processed, 0 when the walk ended with an error.
int WriteMGDNL60P(const char *downloadPath, TerminalRecord *terminal);
