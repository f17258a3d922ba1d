// The authorisation file MGDNL17P: per badge number one 85-character record
// per access item (or one for a time authorisation only), with the TswW02
// balance, eleven reader fields and the location short text in reader field
// 7; records back to back without line breaks.
#pragma once

#include "common/records.h"

// Writes the file for the terminal to the open download file. Returns 1 when
// every badge was processed, 0 when the walk ended with an error (then
// "FehlerCode EndWorkMgDnl17P: %d\n" follows the totals line).
int WriteMGDNL17P(const char *downloadPath, TerminalRecord *terminal);
