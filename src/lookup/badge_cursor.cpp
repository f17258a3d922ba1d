#include "lookup/badge_cursor.h"

#include "common/padding.h"
#include "common/refusal.h"
#include "common/text.h"
#include "db/db.h"
#include "lookup/statements.h"

#include <charconv>
#include <cstring>

namespace {

// Columns of both statements.
enum BadgeColumn {
    kColAswNum,
    kColAswGvo,
    kColAswGbi,
    kColAswPnr,
    kColAswBkl,
    kColAswGrp,
    kColAswAan,
    kColAswAtp,
    kColAwvSto,
    kColAswSal,
    kColAswBk2,
    kColAswSpr,
    kColAswPin,
};

DbCursor BadgeCursor;

// The right-trimmed text of a column of the current row; an empty text for
// NULL. Trimming works in the stored result, which belongs to this fetch.
const char *ColumnText(int column) {
    char *value = CurrentRow[column];
    return value == nullptr ? "" : TrimRight(value);
}

// Reports a value that does not fit its field, so that the badge is refused
// instead of being written with a cut identifier.
int Refuse(const char *badgeNumber, const char *fieldName, size_t length, size_t capacity) {
    ReportRefusedBadge(badgeNumber, fieldName, length, capacity - 1);
    return 0;
}

int PutText(char *field, size_t capacity, const char *value, const char *badgeNumber,
            const char *fieldName) {
    if (CopyText(field, capacity, value)) {
        return 1;
    }
    return Refuse(badgeNumber, fieldName, std::strlen(value), capacity);
}

int PutZeroPadded(char *field, size_t capacity, const char *value, size_t width,
                  const char *badgeNumber, const char *fieldName) {
    if (PadLeftWithZeros(field, capacity, value, width)) {
        return 1;
    }
    return Refuse(badgeNumber, fieldName, PaddedLength(value, width), capacity);
}

int PutBlankPadded(char *field, size_t capacity, const char *value, size_t width,
                   const char *badgeNumber, const char *fieldName) {
    if (PadRightWithBlanks(field, capacity, value, width)) {
        return 1;
    }
    return Refuse(badgeNumber, fieldName, PaddedLength(value, width), capacity);
}

// "%d" of the number into the field; two of them for every badge.
int PutNumber(char *field, size_t capacity, int number, const char *badgeNumber,
              const char *fieldName) {
    char digits[16];
    char *end = std::to_chars(digits, digits + sizeof digits - 1, number).ptr;
    *end = '\0';
    return PutText(field, capacity, digits, badgeNumber, fieldName);
}

// Fills the master-data fields of `badge` from the current row, in the order
// of the record description. Returns 1, or 0 after reporting the first value
// that does not fit.
int FillBadge(BadgeRecord *badge) {
    const char *number = ColumnText(kColAswNum);
    const char *bookingClass = ColumnText(kColAswBkl);
    if (bookingClass[0] == '\0') {
        bookingClass = ColumnText(kColAswBk2);
    }
    int badgeType = 0;
    if (CurrentRow[kColAswAtp] != nullptr) {
        badgeType = ParseLeadingDecimal(CurrentRow[kColAswAtp]);
    }
    int language = 1;
    if (CurrentRow[kColAswSpr] != nullptr) {
        language = ParseLeadingDecimal(CurrentRow[kColAswSpr]);
    }

    if (!PutText(badge->AswNum, sizeof badge->AswNum, number, number, "AswNum") ||
        !PutText(badge->AswGvo, sizeof badge->AswGvo, ColumnText(kColAswGvo), number, "AswGvo") ||
        !PutText(badge->AswGbi, sizeof badge->AswGbi, ColumnText(kColAswGbi), number, "AswGbi") ||
        !PutZeroPadded(badge->AwvSto, sizeof badge->AwvSto, ColumnText(kColAwvSto), 8, number,
                       "AwvSto") ||
        !PutText(badge->AswPnr, sizeof badge->AswPnr, ColumnText(kColAswPnr), number, "AswPnr") ||
        !PutBlankPadded(badge->AswBkl, sizeof badge->AswBkl, bookingClass, 3, number, "AswBkl")) {
        return 0;
    }

    // The group is never written to a download file, so a longer one is cut
    // to the field instead of refusing the badge.
    const char *group = ColumnText(kColAswGrp);
    size_t groupLength = std::strlen(group);
    if (groupLength >= sizeof badge->AswGrp) {
        groupLength = sizeof badge->AswGrp - 1;
    }
    std::memcpy(badge->AswGrp, group, groupLength);
    badge->AswGrp[groupLength] = '\0';

    return PutNumber(badge->AswAtp, sizeof badge->AswAtp, badgeType, number, "AswAtp") &&
           PutNumber(badge->AswSpr, sizeof badge->AswSpr, language, number, "AswSpr") &&
           PutText(badge->AswPin, sizeof badge->AswPin, ColumnText(kColAswPin), number, "AswPin") &&
           PutText(badge->AswSal, sizeof badge->AswSal, ColumnText(kColAswSal), number, "AswSal");
}

} // namespace

int OpenBadgeCursor(const TerminalRecord *terminal) {
    if (terminal->AssignmentCount > 0) {
        return RunStatement(&BadgeCursor, kBadgeStatementForTerminal, {terminal->TrmNam});
    }
    return RunStatement(&BadgeCursor, kBadgeStatementGeneral, {});
}

int FetchBadge(BadgeRecord *badge) {
    DbStatus = DbFetch(&BadgeCursor, &CurrentRow);
    if (DbStatus != 0) {
        return DbStatus;
    }
    // Staged so that a refused row leaves the caller's record as it was, and
    // so that nothing of the previous row can remain in a field.
    BadgeRecord row = {};
    if (!FillBadge(&row)) {
        return BADGE_REFUSED;
    }
    std::memcpy(badge->AswNum, row.AswNum, sizeof row.AswNum);
    std::memcpy(badge->AswGvo, row.AswGvo, sizeof row.AswGvo);
    std::memcpy(badge->AswGbi, row.AswGbi, sizeof row.AswGbi);
    std::memcpy(badge->AwvSto, row.AwvSto, sizeof row.AwvSto);
    std::memcpy(badge->AswPnr, row.AswPnr, sizeof row.AswPnr);
    std::memcpy(badge->AswBkl, row.AswBkl, sizeof row.AswBkl);
    std::memcpy(badge->AswGrp, row.AswGrp, sizeof row.AswGrp);
    std::memcpy(badge->AswAtp, row.AswAtp, sizeof row.AswAtp);
    std::memcpy(badge->AswSpr, row.AswSpr, sizeof row.AswSpr);
    std::memcpy(badge->AswPin, row.AswPin, sizeof row.AswPin);
    std::memcpy(badge->AswSal, row.AswSal, sizeof row.AswSal);
    return 0;
}

long BadgeCursorRowCount() {
    return static_cast<long>(DbRowCount(&BadgeCursor));
}

int CloseBadgeCursor() {
    DbStatus = DbFree(&BadgeCursor);
    return DbStatus;
}
