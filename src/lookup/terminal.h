// The run's terminal: model, display-set code and number of active client
// assignments.
#pragma once

#include "common/records.h"

// Returned by LookupTerminal when the database holds a model or display-set
// code longer than its field; a line naming the terminal and the field has
// been printed and the run must not go on with a cut value.
constexpr int TERMINAL_FIELD_TOO_LONG = -2;

// Fills TRMMOD, TRMSAL and AssignmentCount of a record whose TrmNam is set.
// Returns the status of the last DbFetch (0, NO_MORE_ROWS, -1), the error of
// a failed DbExecute, or TERMINAL_FIELD_TOO_LONG.
int LookupTerminal(TerminalRecord *terminal);
