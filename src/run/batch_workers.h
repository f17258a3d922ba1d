// Running the jobs of a batch: up to N preluxa processes at a time, each
// started directly (no shell) in preluxa-batch's own working directory, with
// its console output captured. Jobs for the same download file run one after
// the other in job-file order, and an append job waits for the jobs before it
// on that file; after a failed job for a file, the append jobs after it for
// that file are skipped, because they would append to the previous night's
// content. A create job (MODE "1...") for the file runs again.
#pragma once

#include "run/batch_jobs.h"

#include <cstdio>
#include <string>
#include <vector>

struct BatchSettings {
    std::string preluxa; // the generator executable
    int workers;         // jobs running at the same time, at least 1
};

// Runs every job and prints each one's summary to out as it ends (completion
// order), then the total line. SIGINT, SIGTERM and SIGHUP stop the batch:
// running jobs get SIGTERM and fail, jobs not yet started are skipped.
// Returns true when every job succeeded.
bool RunBatchJobs(const std::vector<BatchJob> &jobs, const BatchSettings &settings, std::FILE *out);
