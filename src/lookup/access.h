// Time authorisation and access profile of a badge on the terminal.
#pragma once

#include "common/records.h"

#include <cstddef>

// The current badge's access items, rebuilt by every LoadAccessProfile.
extern AccessList BadgeAccess;

// 1 when one of the badge's booking classes grants time booking on the
// terminal, else 0 (also when the statement fails). Prints
// "Aws: %s Zeitberechtigung: %d\n" in verbose mode.
int HasTimeAuthorisation(const BadgeRecord *badge, const char *terminalName);

// Rebuilds BadgeAccess for the badge on the terminal; when markReaders is 1,
// first writes "%02d" into the ReaderSlots of the terminal's active readers up
// to highestReader (at most 11). Access rows whose booking class or reader
// text does not fit its AccessItem field are left out with a console line.
// Returns 1 when the list holds at least one item, else 0.
//
// The reader statement is sent once per terminal and limit: its complete
// result is kept until ForgetTerminalReaders, as it cannot change within the
// run's one read transaction.
int LoadAccessProfile(BadgeRecord *badge, const char *terminalName, long highestReader,
                      int markReaders);

// Drops the kept reader result. Called at the start of every badge walk, and
// by whoever ends the connection's read transaction.
void ForgetTerminalReaders();

// For tests only: false sends the reader statement for every badge, as
// before the result was kept; true (the default) keeps it.
void SetReaderCacheForTests(bool enabled);

// 1 once the AccessList could not grow; the run must end as a failure.
int AccessStorageFailed();

// Adds a copy of the item at the end of BadgeAccess, growing it by one item.
// Returns 1, or 0 when the storage could not be obtained (message printed,
// list unchanged, AccessStorageFailed latched).
int AppendAccessItem(const AccessItem *item);

// For tests only: the allocator with which AppendAccessItem obtains and
// enlarges the list, with the meaning of realloc (a null block obtains new
// storage). A test points it at a failing function to reach the storage
// failure; it calls std::realloc otherwise.
extern void *(*AccessStorageResize)(void *block, size_t size);
