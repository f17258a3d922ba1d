#include "lookup/location.h"

#include "common/text.h"
#include "db/db.h"
#include "lookup/one_shot_cursor.h"
#include "lookup/statements.h"

#include <cstring>

int LoadLocationText(BadgeRecord *badge) {
    if (RunStatement(&OneShotCursor, kLocationStatement, {badge->AswNum}) != 0) {
        return DbStatus;
    }
    DbStatus = DbFetch(&OneShotCursor, &CurrentRow);
    int status = DbStatus;
    if (status == 0 && CurrentRow[0] != nullptr) {
        // The last byte of StoKtx is never written: it stays the zero of the
        // caller's zero-fill and ends the text.
        const char *text = TrimRight(CurrentRow[0]);
        size_t length = std::strlen(text);
        size_t room = sizeof badge->StoKtx - 1;
        std::memcpy(badge->StoKtx, text, length < room ? length : room);
    }
    DbFree(&OneShotCursor);
    return status;
}
