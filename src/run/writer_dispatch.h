// The DNL functions and the writer each one calls.
#pragma once

#include "common/records.h"

// True when the upper-cased name is one of the DNL functions.
bool IsDnlFunction(const char *dnlFunction);

// Calls the writer of an upper-cased DNL function. Returns the writer's result
// (1 success, 0 failure), or -1 for a name that is no DNL function.
int CallWriter(const char *dnlFunction, const char *downloadPath, TerminalRecord *terminal);
