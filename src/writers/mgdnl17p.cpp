#include "writers/mgdnl17p.h"

#include "common/run_state.h"
#include "db/db.h"
#include "lookup/access.h"
#include "lookup/location.h"
#include "lookup/time_accounts.h"
#include "writers/authorisation.h"
#include "writers/badge_walk.h"
#include "writers/layouts.h"
#include "writers/reader_fields.h"
#include "writers/record_checks.h"

#include <cstdio>
#include <cstring>

namespace {

using namespace Mgdnl17p;

// The badge number of the row handled last: the badge query delivers all
// rows of one badge number together, and only the first of them is handled.
struct WalkContext {
    char previousBadge[sizeof BadgeRecord::AswNum];
};

BadgeOutcome HandleBadge(BadgeRecord *badge, const TerminalRecord *terminal, void *context) {
    WalkContext *walk = static_cast<WalkContext *>(context);
    if (std::strcmp(badge->AswNum, walk->previousBadge) == 0) {
        return BADGE_REPEATED;
    }
    std::memcpy(walk->previousBadge, badge->AswNum, sizeof walk->previousBadge);

    ClearReaderSlots(badge, kReaderFields);
    char record[kLength];
    FillRecord(record, kLength);
    PlaceField(record, kBadgeNumber, badge->AswNum);
    PlaceDateField(record, kValidFrom, badge->AswGvo);

    int status = LoadTimeAccounts(badge);
    if (status != 0 && VerboseMode) {
        std::printf("Saldo Ermitteln. Pnr: %s SQLCode:%ld\n", badge->AswPnr,
                    static_cast<long>(status));
    }
    // After an error or a NULL column the slot is empty and the field stays
    // blank; the slot holds at most seven characters.
    BlankField(record, kBalance);
    if (status != NO_MORE_ROWS) {
        PlaceField(record, kBalance, TimeAccountSlot(badge, 2));
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

    status = LoadLocationText(badge);
    if (status == 0) {
        PlaceField(record, kLocationMark, "07");
        PlaceField(record, kLocation, badge->StoKtx);
    } else if (status != NO_MORE_ROWS) {
        std::printf("SQL Standortbez. Ermitteln. SQLCode:%ld\n", static_cast<long>(status));
    }
    if (WalkMustStop()) {
        return BADGE_ABORTED;
    }

    if (!authorisation.access) {
        std::fwrite(record, 1, kLength, DownloadFile);
        return BADGE_WRITTEN;
    }
    return WriteAccessRecords(record, kLength, badge, kClassReaderFields);
}

} // namespace

int WriteMGDNL17P(const char *, TerminalRecord *terminal) {
    WalkContext walk = {};
    int status = WalkBadges(terminal, HandleBadge, &walk);
    if (status != 0 && status != NO_MORE_ROWS) {
        std::printf("FehlerCode EndWorkMgDnl17P: %d\n", status);
    }
    return WalkSucceeded(status);
}
