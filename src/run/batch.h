// preluxa-batch: builds the download files of many terminals in one go, for
// the nightly job of an administrator.
//
//     preluxa-batch JOBFILE [-j N] [--preluxa PATH]
//
// JOBFILE lists one preluxa run per line (see run/batch_jobs.h). -j N runs N
// jobs at a time (default: the number of online processors); --preluxa names
// the generator (default: preluxa in the directory of preluxa-batch). Every
// job runs in preluxa-batch's working directory, so relative download paths
// and the configuration file resolve as for a direct run.
#pragma once

// Exit statuses.
constexpr int kBatchSucceeded = 0;  // every job succeeded
constexpr int kBatchJobFailed = 1;  // at least one job failed or was skipped
constexpr int kBatchUsageError = 2; // bad command line or job file: nothing was run

// Runs the command line; messages about it go to standard error, the job
// summaries to standard output. Returns an exit status.
int RunBatch(int argc, char **argv);
