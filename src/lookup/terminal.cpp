#include "lookup/terminal.h"

#include "common/text.h"
#include "db/db.h"
#include "lookup/one_shot_cursor.h"
#include "lookup/statements.h"

#include <cstdio>
#include <cstring>

namespace {

// Copies a right-trimmed column into its field. A value that does not fit is
// reported and the field stays empty: a cut model or display-set code would
// silently select the wrong display texts.
int TakeTerminalField(char *field, size_t capacity, char *value, const TerminalRecord *terminal,
                      const char *fieldName) {
    if (value == nullptr) {
        return 1;
    }
    TrimRight(value);
    if (CopyText(field, capacity, value)) {
        return 1;
    }
    std::printf("Terminal %s: %s zu lang (%zu Zeichen, hoechstens %zu)\n", terminal->TrmNam,
                fieldName, std::strlen(value), capacity - 1);
    return 0;
}

} // namespace

int LookupTerminal(TerminalRecord *terminal) {
    if (RunStatement(&OneShotCursor, kTerminalStatement, {terminal->TrmNam}) != 0) {
        return DbStatus;
    }
    DbStatus = DbFetch(&OneShotCursor, &CurrentRow);
    int fits = 1;
    if (DbStatus == 0) {
        // Only the first row counts, even if the name is not unique.
        fits &= TakeTerminalField(terminal->TRMMOD, sizeof terminal->TRMMOD, CurrentRow[0],
                                  terminal, "TRMMOD");
        fits &= TakeTerminalField(terminal->TRMSAL, sizeof terminal->TRMSAL, CurrentRow[1],
                                  terminal, "TRMSAL");
    }
    DbFree(&OneShotCursor);
    if (!fits) {
        // The run ends here, so the assignment count is not needed.
        return TERMINAL_FIELD_TOO_LONG;
    }

    if (RunStatement(&OneShotCursor, kAssignmentCountStatement, {terminal->TrmNam}) != 0) {
        return DbStatus;
    }
    DbStatus = DbFetch(&OneShotCursor, &CurrentRow);
    if (DbStatus == 0 && CurrentRow[0] != nullptr) {
        terminal->AssignmentCount = ParseLeadingDecimal(CurrentRow[0]);
    }
    int status = DbStatus;
    DbFree(&OneShotCursor);
    return status;
}
