#include "writers/badge_walk.h"

#include "db/db.h"
#include "lookup/access.h"
#include "lookup/badge_cursor.h"
#include "writers/progress.h"

#include <cstdio>
#include <cstring>

bool WalkMustStop() {
    return DbLostConnection() != 0 || AccessStorageFailed() != 0;
}

namespace {

int StopStatus() {
    EndProgress();
    int lost = DbLostConnection();
    if (lost != 0) {
        std::printf("Verbindung zur Datenbank verloren! SQLCode:%d\n", lost);
        return lost;
    }
    return -1;
}

} // namespace

int WalkBadges(const TerminalRecord *terminal, BadgeHandler handle, void *context) {
    int badgesRead = 0;
    int badgesWritten = 0;
    BadgeRecord badge;

    std::memset(&badge, 0, sizeof badge);
    // A reader result kept from an earlier walk may come from another read
    // transaction.
    ForgetTerminalReaders();
    OpenBadgeCursor(terminal);
    StartProgress(BadgeCursorRowCount());
    long rowsDone = 0;
    int status = FetchBadge(&badge);
    while (status == 0 || status == BADGE_REFUSED) {
        ShowProgress(++rowsDone);
        if (status == BADGE_REFUSED) {
            ++badgesRead;
        } else {
            BadgeOutcome outcome = handle(&badge, terminal, context);
            if (outcome != BADGE_REPEATED) {
                ++badgesRead;
            }
            if (outcome == BADGE_WRITTEN) {
                ++badgesWritten;
            }
            if (outcome == BADGE_ABORTED || WalkMustStop()) {
                status = StopStatus();
                break;
            }
        }
        std::memset(&badge, 0, sizeof badge);
        status = FetchBadge(&badge);
    }
    if (status == -1 && DbLostConnection() != 0) {
        status = StopStatus();
    }
    EndProgress();
    CloseBadgeCursor();
    std::printf("Ausweise gesamt: %d davon in Datei gestellt: %d\n", badgesRead, badgesWritten);
    return status;
}

int WalkSucceeded(int status) {
    return status == 0 || status == NO_MORE_ROWS ? 1 : 0;
}
