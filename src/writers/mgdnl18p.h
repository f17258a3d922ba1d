// The display-text file MGDNL18P: one 173-character record per badge, the
// badge number and eight display slots of a label and the badge's value for
// it, records following one another without line terminator.
#pragma once

#include "common/records.h"
#include "lookup/messages.h"
#include "writers/layouts.h"

// The display definitions of one display set: slot n-1 holds the definition
// whose MsdLfd is n; a slot without one stays all zero.
struct MessageTable {
    MessageEntry Slot[Mgdnl18p::kSlots];
};

// Writes the file for the terminal to the open download file (the path is not
// used). Returns 1 when every badge was processed, 0 when the walk ended with
// an error.
int WriteMGDNL18P(const char *downloadPath, TerminalRecord *terminal);
