// Time-account balances and free texts of a badge (O2002TSW).
#pragma once

#include "common/records.h"

// Fills the fifteen balance slots and the ten free texts of the badge from
// its time-account row. Returns the error of a failed execute, otherwise the
// fetch status: 0 row found, NO_MORE_ROWS no row, -1 fetch failure. The
// record is changed only when the row was found.
int LoadTimeAccounts(BadgeRecord *badge);

// The balance slot of column TswW<number> (2 to 16), or null for another
// number.
const char *TimeAccountSlot(const BadgeRecord *badge, int number);

// The free text TswF<number> (1 to 10), or null for another number.
const char *FreeTextField(const BadgeRecord *badge, int number);
