// The walk over all badges valid today (or only the terminal's clients'
// badges when the terminal has assignments).
#pragma once

#include "common/records.h"

// Returned by FetchBadge for a row whose identifying value does not fit its
// BadgeRecord field. The refusal line has been printed; the caller counts the
// row as read, writes nothing for it and fetches the next one.
constexpr int BADGE_REFUSED = -2;

// Executes the badge statement. Returns 0, the database's error number or -1.
int OpenBadgeCursor(const TerminalRecord *terminal);

// Fills a zero-filled BadgeRecord from the next row. Returns 0, NO_MORE_ROWS
// after the last row, -1 on a failed fetch, or BADGE_REFUSED.
int FetchBadge(BadgeRecord *badge);

// Number of rows the open badge statement delivers in all, 0 when none is open.
long BadgeCursorRowCount();

// Releases the badge statement's result: 0, or -1 when there was none.
int CloseBadgeCursor();
