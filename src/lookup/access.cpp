#include "lookup/access.h"

#include "common/padding.h"
#include "common/refusal.h"
#include "common/run_state.h"
#include "common/text.h"
#include "db/db.h"
#include "lookup/one_shot_cursor.h"
#include "lookup/statements.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

AccessList BadgeAccess;

namespace {

void *ResizeWithRealloc(void *block, size_t size) {
    return std::realloc(block, size);
}

// Returned by FetchAccessItem for a row whose booking class or reader does
// not fit its AccessItem field; the refusal line has been printed.
constexpr int kAccessItemRefused = -2;

DbCursor ReaderCursor;
DbCursor AccessCursor;
int StorageFailed = 0;

// The reader slots of the last terminal and limit whose reader statement was
// read to its end. The readers do not depend on the badge, and the run reads
// one snapshot (autocommit off, nothing commits), so the statement's result
// stays the same for the whole walk.
struct TerminalReaders {
    bool valid;                                        // the fields below hold a complete result
    char terminalName[sizeof(TerminalRecord::TrmNam)]; // the terminal they belong to
    long highestReader;                                // the limit they were selected with
    bool marked[kReaderSlots];                         // slot n-1: reader n is active
};

TerminalReaders KnownReaders = {};
bool ReaderCacheEnabled = true;

void OpenReaderCursor(const char *terminalName, long highestReader) {
    // A failed statement leaves the cursor without a result, so the first
    // fetch returns -1 and no reader is marked.
    RunStatement(&ReaderCursor, kReaderStatement, {terminalName, highestReader});
}

// Fetches the next reader row and delivers its reader number; a NULL number
// is delivered as 0. Returns the status of DbFetch.
int FetchReader(int *readerNumber) {
    DbStatus = DbFetch(&ReaderCursor, &CurrentRow);
    if (DbStatus == 0) {
        *readerNumber = ParseLeadingDecimal(CurrentRow[0]);
    }
    return DbStatus;
}

void CloseReaderCursor() {
    DbStatus = DbFree(&ReaderCursor);
}

int OpenAccessCursor(const char *badgeNumber, const char *terminalName) {
    return RunStatement(&AccessCursor, kAccessStatement, {terminalName, badgeNumber});
}

// Formats a right-trimmed column into an item field with "%-<width>s"; a NULL
// column leaves the field empty. Returns 0 after reporting a value that does
// not fit: a cut booking class or reader would grant the wrong access.
int PutItemText(char *field, size_t capacity, char *value, size_t width, const char *badgeNumber,
                const char *bookingClass, const char *fieldName) {
    if (value == nullptr) {
        return 1;
    }
    TrimRight(value);
    if (PadRightWithBlanks(field, capacity, value, width)) {
        return 1;
    }
    ReportRefusedAccessItem(badgeNumber, bookingClass, fieldName, PaddedLength(value, width),
                            capacity - 1);
    return 0;
}

// Fetches the next access row into a zero-filled item. Returns the status of
// DbFetch, or kAccessItemRefused for a row that does not fit.
int FetchAccessItem(const char *badgeNumber, AccessItem *item) {
    DbStatus = DbFetch(&AccessCursor, &CurrentRow);
    if (DbStatus != 0) {
        return DbStatus;
    }
    char *bookingClass = CurrentRow[0];
    const char *shownClass = bookingClass == nullptr ? "" : TrimRight(bookingClass);
    if (!PutItemText(item->M35BKL, sizeof item->M35BKL, bookingClass, 3, badgeNumber, shownClass,
                     "M35BKL") ||
        !PutItemText(item->M35LES, sizeof item->M35LES, CurrentRow[1], 2, badgeNumber, shownClass,
                     "M35LES")) {
        return kAccessItemRefused;
    }
    item->AWBZUV = ParseLeadingDecimal(CurrentRow[2]);
    return 0;
}

void CloseAccessCursor() {
    DbStatus = DbFree(&AccessCursor);
}

// Writes "%02d" of the reader number into its slot. Numbers outside the
// slots (NULL or below 1, or above 11) are not marked.
void MarkReader(BadgeRecord *badge, int readerNumber) {
    if (readerNumber < 1 || readerNumber > kReaderSlots) {
        return;
    }
    char *slot = badge->ReaderSlots[readerNumber - 1];
    slot[0] = static_cast<char>('0' + readerNumber / 10);
    slot[1] = static_cast<char>('0' + readerNumber % 10);
    slot[2] = '\0';
}

bool ReadersKnown(const char *terminalName, long highestReader) {
    return ReaderCacheEnabled && KnownReaders.valid &&
           KnownReaders.highestReader == highestReader &&
           std::strcmp(KnownReaders.terminalName, terminalName) == 0;
}

// Marks the terminal's active readers up to highestReader, from the reader
// statement or, for the terminal and limit of the last complete read, from
// what it delivered then.
void MarkTerminalReaders(BadgeRecord *badge, const char *terminalName, long highestReader) {
    if (ReadersKnown(terminalName, highestReader)) {
        for (int n = 1; n <= kReaderSlots; ++n) {
            if (KnownReaders.marked[n - 1]) {
                MarkReader(badge, n);
            }
        }
        return;
    }
    TerminalReaders read = {};
    OpenReaderCursor(terminalName, highestReader);
    int readerNumber = 0;
    int status;
    while ((status = FetchReader(&readerNumber)) == 0) {
        MarkReader(badge, readerNumber);
        if (readerNumber >= 1 && readerNumber <= kReaderSlots) {
            read.marked[readerNumber - 1] = true;
        }
    }
    CloseReaderCursor();
    // Only a result read to its end is kept; after a failure the next badge
    // sends the statement again.
    if (status == NO_MORE_ROWS &&
        CopyText(read.terminalName, sizeof read.terminalName, terminalName)) {
        read.highestReader = highestReader;
        read.valid = true;
        KnownReaders = read;
    }
}

void ReleaseAccessList() {
    std::free(BadgeAccess.items);
    BadgeAccess.items = nullptr;
    BadgeAccess.count = 0;
}

} // namespace

void *(*AccessStorageResize)(void *block, size_t size) = ResizeWithRealloc;

int HasTimeAuthorisation(const BadgeRecord *badge, const char *terminalName) {
    int count = 0;
    if (RunStatement(&OneShotCursor, kTimeAuthorisationStatement, {terminalName, badge->AswNum}) ==
        0) {
        DbStatus = DbFetch(&OneShotCursor, &CurrentRow);
        if (DbStatus == 0 && CurrentRow[0] != nullptr) {
            count = ParseLeadingDecimal(CurrentRow[0]);
        }
        DbStatus = DbFree(&OneShotCursor);
    }
    int result = count > 0 ? 1 : 0;
    if (VerboseMode) {
        std::printf("Aws: %s Zeitberechtigung: %d\n", badge->AswNum, result);
    }
    return result;
}

int LoadAccessProfile(BadgeRecord *badge, const char *terminalName, long highestReader,
                      int markReaders) {
    ReleaseAccessList();

    if (markReaders) {
        MarkTerminalReaders(badge, terminalName, highestReader);
    }

    if (OpenAccessCursor(badge->AswNum, terminalName) == 0) {
        int status;
        do {
            AccessItem item = {};
            status = FetchAccessItem(badge->AswNum, &item);
            // Without storage the run ends as a failure; the rest of the
            // list is not needed.
            if (status == 0 && !AppendAccessItem(&item)) {
                break;
            }
        } while (status == 0 || status == kAccessItemRefused);
    }
    CloseAccessCursor();

    return BadgeAccess.count > 0 ? 1 : 0;
}

void ForgetTerminalReaders() {
    KnownReaders.valid = false;
}

void SetReaderCacheForTests(bool enabled) {
    ReaderCacheEnabled = enabled;
    ForgetTerminalReaders();
}

int AccessStorageFailed() {
    return StorageFailed;
}

int AppendAccessItem(const AccessItem *item) {
    // Grown by exactly one item per call, so the list stays one contiguous
    // array that is released in one piece.
    const bool first = BadgeAccess.count == 0;
    AccessItem *grown = nullptr;
    if (BadgeAccess.count < INT32_MAX) {
        size_t size = (static_cast<size_t>(BadgeAccess.count) + 1) * sizeof(AccessItem);
        grown = static_cast<AccessItem *>(
            AccessStorageResize(first ? nullptr : BadgeAccess.items, size));
    }
    if (grown == nullptr) {
        // The old block, if any, is still valid and the list unchanged.
        std::fputs(first ? "Fehler beim allokieren von Speicher"
                         : "Fehler beim reallokieren von Speicher",
                   stdout);
        StorageFailed = 1;
        return 0;
    }
    BadgeAccess.items = grown;
    BadgeAccess.items[BadgeAccess.count] = *item;
    ++BadgeAccess.count;
    return 1;
}
