// Short text of a badge's location (Orv113Sto through Orv113Awv).
#pragma once

#include "common/records.h"

// Puts at most three characters of the right-trimmed short text into StoKtx.
// Returns the error of a failed execute, otherwise the fetch status: 0 row
// found (StoKtx stays empty for a NULL text), NO_MORE_ROWS, -1.
int LoadLocationText(BadgeRecord *badge);
