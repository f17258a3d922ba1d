#include "lookup/messages.h"

#include "common/records.h"
#include "common/text.h"
#include "db/db.h"
#include "lookup/one_shot_cursor.h"
#include "lookup/statements.h"

#include <cstring>

namespace {

// Columns of both definitions statements.
enum MessageColumn {
    kColMsdLfd,
    kColMsdSpl,
    kColLabel,
    kColMsdTxt,
};

// What differs between the two levels.
struct MessageLevel {
    DbCursor *cursor;                 // the level's definitions cursor
    const char *definitionsStatement; // %s: terminal name or badge number
    const char *valueCodeStatement;   // %s: the kept name or number, %ld: MsdLfd
    char *kept;                       // the terminal name or badge number of the last Open
    size_t keptCapacity;              // bytes of `kept`
    bool terminalLabels;              // decode "&#241;"; only a non-empty MsdTxt replaces the label
};

DbCursor TerminalMessageCursor;
DbCursor BadgeMessageCursor;

// As large as the record fields they come from, so an Open never has to cut
// what the value-code statements select by.
char KeptTerminalName[sizeof(TerminalRecord::TrmNam)];
char KeptBadgeNumber[sizeof(BadgeRecord::AswNum)];

const MessageLevel kTerminalLevel = {&TerminalMessageCursor,      kTerminalMessageStatement,
                                     kTerminalValueCodeStatement, KeptTerminalName,
                                     sizeof KeptTerminalName,     true};
const MessageLevel kBadgeLevel = {&BadgeMessageCursor,      kBadgeMessageStatement,
                                  kBadgeValueCodeStatement, KeptBadgeNumber,
                                  sizeof KeptBadgeNumber,   false};

int OpenMessages(const MessageLevel &level, const char *key) {
    if (!CopyText(level.kept, level.keptCapacity, key)) {
        DbStatus = -1;
        return DbStatus;
    }
    return RunStatement(level.cursor, level.definitionsStatement, {level.kept});
}

// The label columns of the current row into entry->Txt.
void TakeLabel(const MessageLevel &level, MessageEntry *entry) {
    char *label = CurrentRow[kColLabel];
    if (label != nullptr) {
        TrimRight(label);
        if (level.terminalLabels) {
            DecodeLabelText(label);
        }
        FormatLabel(entry->Txt, label);
    }
    // A MsdTxt of blanks stays blanks after trimming and so blanks the label
    // on both levels; an empty one keeps the choice-list label only on the
    // terminal level.
    char *ownText = CurrentRow[kColMsdTxt];
    if (ownText != nullptr) {
        TrimRight(ownText);
        if (!level.terminalLabels || ownText[0] != '\0') {
            FormatLabel(entry->Txt, ownText);
        }
    }
}

// Looks the definition's value code up into entry->Con. Returns 0 when the
// lookup ran (a definition without a value code keeps an empty Con),
// otherwise the error of the execute or of the fetch.
int TakeValueCode(const MessageLevel &level, MessageEntry *entry) {
    if (RunStatement(&OneShotCursor, level.valueCodeStatement,
                     {level.kept, static_cast<long>(entry->MsdLfd)}) != 0) {
        return DbStatus;
    }
    DbStatus = DbFetch(&OneShotCursor, &CurrentRow);
    int status = DbStatus;
    if (status == 0 && CurrentRow[0] != nullptr) {
        // No code is longer than four characters, so a cut longer text still
        // matches none and shows blanks.
        const char *code = TrimRight(CurrentRow[0]);
        size_t length = std::strlen(code);
        if (length > kValueCodeLength) {
            length = kValueCodeLength;
        }
        std::memcpy(entry->Con, code, length);
        entry->Con[length] = '\0';
    }
    DbFree(&OneShotCursor);
    return status == NO_MORE_ROWS ? 0 : status;
}

int FetchMessage(const MessageLevel &level, MessageEntry *entry) {
    DbStatus = DbFetch(level.cursor, &CurrentRow);
    if (DbStatus != 0) {
        return DbStatus;
    }
    // Built from nothing, so a NULL column gives its field's empty value and
    // never the previous definition's.
    MessageEntry fetched = {};
    fetched.MsdSpl = 1;
    if (CurrentRow[kColMsdLfd] != nullptr) {
        fetched.MsdLfd = ParseLeadingDecimal(CurrentRow[kColMsdLfd]);
    }
    if (CurrentRow[kColMsdSpl] != nullptr) {
        fetched.MsdSpl = ParseLeadingDecimal(CurrentRow[kColMsdSpl]);
    }
    TakeLabel(level, &fetched);
    std::memcpy(fetched.Wert, "       ", 8);

    // Everything needed from the definitions row is copied out: the value-code
    // statement reuses CurrentRow.
    int status = TakeValueCode(level, &fetched);
    if (status != 0) {
        DbStatus = status;
        return status;
    }
    *entry = fetched;
    DbStatus = 0;
    return 0;
}

int CloseMessages(const MessageLevel &level) {
    DbStatus = DbFree(level.cursor);
    return DbStatus;
}

} // namespace

int OpenTerminalMessages(const char *terminalName) {
    return OpenMessages(kTerminalLevel, terminalName);
}

int FetchTerminalMessage(MessageEntry *entry) {
    return FetchMessage(kTerminalLevel, entry);
}

int CloseTerminalMessages() {
    return CloseMessages(kTerminalLevel);
}

int OpenBadgeMessages(const char *badgeNumber) {
    return OpenMessages(kBadgeLevel, badgeNumber);
}

int FetchBadgeMessage(MessageEntry *entry) {
    return FetchMessage(kBadgeLevel, entry);
}

int CloseBadgeMessages() {
    return CloseMessages(kBadgeLevel);
}
