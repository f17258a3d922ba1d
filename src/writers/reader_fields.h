// The reader fields of the MGDNL17P and MGDNL60P records: which of the
// terminal's readers exist, and under which booking class the badge may use
// them.
#pragma once

#include "common/records.h"

// Sets the ReaderSlots of readers 1 to `readers` to two blanks, so that after
// LoadAccessProfile a slot that holds anything else marks a reader of the
// terminal.
void ClearReaderSlots(BadgeRecord *badge, int readers);

// 1 when LoadAccessProfile marked reader n (1-based) of the terminal.
int ReaderMarked(const BadgeRecord *badge, int n);

// Places the two-digit number of every marked reader from 1 to `readers` at
// the start of its reader field.
void PlaceReaderNumbers(char *record, const BadgeRecord *badge, int readers);

// Places the booking class behind the number of every marked reader from 1
// to `readers`.
void PlaceReaderClasses(char *record, const BadgeRecord *badge, int readers,
                        const char *bookingClass);
