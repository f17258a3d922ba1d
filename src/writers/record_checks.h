// Identifiers that do not fit their record columns. A cut badge number or
// booking class would let the terminal decide about the wrong badge or
// class, so such a badge or access item is left out of the file with a
// console line (printed also outside verbose mode).
#pragma once

#include "common/records.h"
#include "writers/record_layout.h"

// 1 when the badge number fits the field; otherwise reports the badge as
// refused and returns 0.
int BadgeNumberFits(const BadgeRecord *badge, const RecordField &field);

// 1 when the item's booking class fits the field; otherwise reports the
// access item as refused and returns 0.
int BookingClassFits(const BadgeRecord *badge, const AccessItem *item, const RecordField &field);
