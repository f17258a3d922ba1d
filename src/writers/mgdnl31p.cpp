#include "writers/mgdnl31p.h"

#include "common/run_state.h"
#include "lookup/access.h"
#include "lookup/location.h"
#include "writers/badge_walk.h"
#include "writers/layouts.h"
#include "writers/record_checks.h"

#include <cstdio>

namespace {

using namespace Mgdnl31p;

BadgeOutcome HandleBadge(BadgeRecord *badge, const TerminalRecord *terminal, void *) {
    char record[kLength];
    FillRecord(record, kLength);
    PlaceField(record, kTimeAuthFlag, "0");
    PlaceField(record, kAccessFlag, "0");
    if (HasTimeAuthorisation(badge, terminal->TrmNam)) {
        PlaceField(record, kTimeAuthFlag, "1");
    }
    int hasAccess = LoadAccessProfile(badge, terminal->TrmNam, 32, 0);
    if (WalkMustStop()) {
        return BADGE_ABORTED;
    }
    if (!hasAccess) {
        if (VerboseMode) {
            std::printf("Ausweis %s ohne Zutrittsberechtigung auf Terminal %s\n", badge->AswNum,
                        terminal->TrmNam);
        }
        return BADGE_SKIPPED;
    }
    PlaceField(record, kAccessFlag, "1");
    if (!BadgeNumberFits(badge, kBadgeNumber)) {
        return BADGE_SKIPPED;
    }

    // Whatever its status, StoKtx is then either filled or still empty.
    LoadLocationText(badge);
    if (WalkMustStop()) {
        return BADGE_ABORTED;
    }
    PlaceField(record, kBadgeNumber, badge->AswNum);
    PlaceDateField(record, kValidFrom, badge->AswGvo);
    PlaceDateField(record, kValidUntil, badge->AswGbi);
    PlaceField(record, kConstantText, "XXXX,XX-");
    PlaceField(record, kFixedCode, "001");
    PlaceField(record, kLocation, badge->StoKtx);

    int written = 0;
    for (int i = 0; i < BadgeAccess.count; ++i) {
        const AccessItem *item = &BadgeAccess.items[i];
        if (!BookingClassFits(badge, item, kBookingClass)) {
            continue;
        }
        PlaceField(record, kBookingClass, item->M35BKL);
        std::fwrite(record, 1, kLength, DownloadFile);
        ++written;
    }
    // A record with access flag "1" and no booking class would be wrong.
    return written > 0 ? BADGE_WRITTEN : BADGE_SKIPPED;
}

} // namespace

int WriteMGDNL31P(const char *, TerminalRecord *terminal) {
    return WalkSucceeded(WalkBadges(terminal, HandleBadge, nullptr));
}
