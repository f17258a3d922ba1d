#include "writers/authorisation.h"

#include "common/run_state.h"
#include "lookup/access.h"
#include "writers/layouts.h"
#include "writers/reader_fields.h"
#include "writers/record_checks.h"

#include <cstdio>

BadgeOutcome LoadAuthorisation(BadgeRecord *badge, const TerminalRecord *terminal,
                               long highestReader, int markReaders, Authorisation *result) {
    result->time = HasTimeAuthorisation(badge, terminal->TrmNam);
    result->access = LoadAccessProfile(badge, terminal->TrmNam, highestReader, markReaders);
    if (WalkMustStop()) {
        return BADGE_ABORTED;
    }
    if (!result->time && !result->access) {
        if (VerboseMode) {
            std::printf("Ausweis %s ohne Zeit-/Zutrittsberechtigung auf Terminal %s\n",
                        badge->AswNum, terminal->TrmNam);
        }
        return BADGE_SKIPPED;
    }
    return BADGE_WRITTEN;
}

void PlaceAuthorisation(char *record, const RecordField &timeFlag, const RecordField &accessFlag,
                        const Authorisation &authorisation, const BadgeRecord *badge, int readers) {
    PlaceField(record, timeFlag, authorisation.time ? "1" : "0");
    PlaceField(record, accessFlag, authorisation.access ? "1" : "0");
    if (authorisation.access) {
        PlaceReaderNumbers(record, badge, readers);
    }
}

BadgeOutcome WriteAccessRecords(char *record, size_t length, const BadgeRecord *badge,
                                int classReaders) {
    int written = 0;
    for (int i = 0; i < BadgeAccess.count; ++i) {
        const AccessItem *item = &BadgeAccess.items[i];
        if (!BookingClassFits(badge, item, ReaderClassField(1))) {
            continue;
        }
        PlaceReaderClasses(record, badge, classReaders, item->M35BKL);
        std::fwrite(record, 1, length, DownloadFile);
        ++written;
    }
    return written > 0 ? BADGE_WRITTEN : BADGE_SKIPPED;
}
