// The badge walk every writer shares: zero-fill, open the badge cursor, fetch
// until the end, hand each badge to the writer's own handler, close, print the
// totals line.
//
// Which failures end a walk is decided here once: a refused badge is counted
// as read and skipped; a failed fetch ends the walk with its status; a lost
// connection or an AccessList that cannot grow stops the walk as well, so a
// file is never reported complete while lookups silently came back empty.
#pragma once

#include "common/records.h"

enum BadgeOutcome {
    BADGE_REPEATED, // a repeated row the writer ignores; not counted as read
    BADGE_SKIPPED,  // read, nothing written
    BADGE_WRITTEN,  // read, records written
    BADGE_ABORTED,  // the walk must stop (see WalkMustStop)
};

typedef BadgeOutcome (*BadgeHandler)(BadgeRecord *badge, const TerminalRecord *terminal,
                                     void *context);

// Walks all badges of the terminal. Returns the status that ended the walk:
// NO_MORE_ROWS after the last badge, otherwise an error status (the fetch's,
// the lost connection's error number, or -1 when the AccessList could not
// grow).
int WalkBadges(const TerminalRecord *terminal, BadgeHandler handle, void *context);

// True once the run cannot go on: the connection is gone or the AccessList
// could not grow. Handlers check it after their lookups, before they write.
bool WalkMustStop();

// Writer result for the status WalkBadges returned: 1 after a complete walk.
int WalkSucceeded(int status);
