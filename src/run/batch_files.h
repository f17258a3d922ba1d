// The download file of one batch job. preluxa writes to a temporary file
// beside the target; only a run that ended with exit status 0 replaces the
// target, by a rename, so a terminal manager never picks up a file that a
// failed run truncated or left half written.
#pragma once

#include "run/batch_jobs.h"

#include <cstddef>
#include <string>

// preluxa refuses a download path longer than this.
constexpr size_t kPreluxaPathCapacity = 199;

// The files of one job.
struct JobFile {
    std::string target; // the download file as written in the job file
    std::string temp;   // the file preluxa writes: "<target>.tmp.<pid>.<job number>"
    bool tempExists;    // true while temp is there and must be removed or renamed
};

// Creates the temporary file (never over an existing one) with the target's
// permission bits, or 0666 less the umask when there is no target yet. For an
// append job it starts as a byte copy of the target. Returns an empty text,
// or the reason the job cannot run; nothing has been created then.
std::string PrepareJobFile(const BatchJob &job, int jobNumber, JobFile *file);

// Syncs the temporary file, renames it over the target and syncs the
// directory. Returns an empty text, or the reason it failed; the temporary
// file has been removed then if the rename did not happen.
std::string CommitJobFile(JobFile *file);

// Removes the temporary file if it is still there; the target stays as it was.
void DiscardJobFile(JobFile *file);
