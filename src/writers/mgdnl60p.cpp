#include "writers/mgdnl60p.h"

#include "common/run_state.h"
#include "db/db.h"
#include "lookup/access.h"
#include "lookup/time_accounts.h"
#include "writers/authorisation.h"
#include "writers/badge_walk.h"
#include "writers/layouts.h"
#include "writers/reader_fields.h"
#include "writers/record_checks.h"

#include <cstdio>

namespace {

using namespace Mgdnl60p;

// Every row is handled, also one that repeats the previous badge number.
BadgeOutcome HandleBadge(BadgeRecord *badge, const TerminalRecord *terminal, void *) {
    ClearReaderSlots(badge, kReaderFields);
    char record[kLength];
    FillRecord(record, kLength);
    PlaceField(record, kBadgeNumber, badge->AswNum);
    PlaceDateField(record, kValidFrom, badge->AswGvo);

    // No line for any status: after an error, a NULL column or a left-out
    // "#" the slot is shorter than the field and the rest stays blank.
    BlankField(record, kBalance);
    if (LoadTimeAccounts(badge) != NO_MORE_ROWS) {
        PlaceField(record, kBalance, TimeAccountSlot(badge, 9));
    }

    Authorisation authorisation;
    BadgeOutcome outcome = LoadAuthorisation(badge, terminal, kReaderFields, 1, &authorisation);
    if (outcome != BADGE_WRITTEN) {
        return outcome;
    }
    PlaceAuthorisation(record, kTimeAuthFlag, kAccessFlag, authorisation, badge, kReaderFields);
    if (!BadgeNumberFits(badge, kBadgeNumber)) {
        return BADGE_SKIPPED;
    }

    if (!authorisation.access) {
        std::fwrite(record, 1, kLength, DownloadFile);
        return BADGE_WRITTEN;
    }
    return WriteAccessRecords(record, kLength, badge, kReaderFields);
}

} // namespace

int WriteMGDNL60P(const char *, TerminalRecord *terminal) {
    return WalkSucceeded(WalkBadges(terminal, HandleBadge, nullptr));
}
