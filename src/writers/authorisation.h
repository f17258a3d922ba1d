// The authorisation steps that the MGDNL17P, MGDNL60P and IDSTAMM writers
// share: ask both lookups, stop on a lost run, skip a badge with neither
// authorisation, and for the fixed-length files place flags, reader numbers
// and one record per access item.
#pragma once

#include "common/records.h"
#include "writers/badge_walk.h"
#include "writers/record_layout.h"

#include <cstddef>

struct Authorisation {
    int time;   // 1 when the badge may book time on the terminal
    int access; // 1 when its AccessList on the terminal is not empty
};

// Runs HasTimeAuthorisation and LoadAccessProfile with the reader arguments
// of the latter. Returns BADGE_ABORTED when the
// walk must stop, BADGE_SKIPPED (with its verbose line) when the badge has
// neither authorisation, otherwise BADGE_WRITTEN: the badge is to be written.
BadgeOutcome LoadAuthorisation(BadgeRecord *badge, const TerminalRecord *terminal,
                               long highestReader, int markReaders, Authorisation *result);

// Places the two flags and, with an access profile, the number of every
// marked reader from 1 to `readers`.
void PlaceAuthorisation(char *record, const RecordField &timeFlag, const RecordField &accessFlag,
                        const Authorisation &authorisation, const BadgeRecord *badge, int readers);

// Writes the record once per access item, with the item's booking class
// behind the marked readers 1 to `classReaders`; items whose class does not
// fit are left out. Returns BADGE_WRITTEN, or BADGE_SKIPPED when no item
// could be written (a record with access flag "1" and no class would be
// wrong).
BadgeOutcome WriteAccessRecords(char *record, size_t length, const BadgeRecord *badge,
                                int classReaders);
