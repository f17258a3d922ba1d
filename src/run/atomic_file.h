// Replacing a file as a whole: the new content is written to a temporary file
// in the same directory, synced, and renamed over the old file, so that a
// reader sees either the old or the new file, never a partial one.
#pragma once

#include <cstddef>
#include <cstdio>

constexpr size_t kAtomicPathCapacity = 4096;

// One replacement in progress. Zero-initialise before OpenAtomicFile.
struct AtomicFile {
    char targetPath[kAtomicPathCapacity]; // the file to be replaced or created
    char tempPath[kAtomicPathCapacity];   // the temporary file beside it
    std::FILE *file;                      // the open temporary file, null once closed
    int tempExists;                       // 1 while the temporary file must be removed
};

// Creates the temporary file, mode 0600, and opens it for binary writing.
// Returns 1, or 0 with errno set.
int OpenAtomicFile(AtomicFile *replacement, const char *path);

// Flushes, syncs and closes the temporary file; its content can then be read
// back under tempPath. Returns 1, or 0 with errno set.
int CloseAtomicFile(AtomicFile *replacement);

// Renames the closed temporary file over the target and syncs the directory.
// Returns 1, or 0 with errno set.
int CommitAtomicFile(AtomicFile *replacement);

// Closes and removes the temporary file if it is still there; the target
// stays as it was. Safe to call after any of the above.
void DiscardAtomicFile(AtomicFile *replacement);
