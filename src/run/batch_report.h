// What preluxa-batch prints: one summary line per job as it finishes, the
// job's last console lines when it failed, and the total line at the end.
//
//     ok      job 1 (line 3) T1 IDSTAMM: read 12 written 11 exit 0 1.3 s
//     FAILED  job 2 (line 4) T2 MGDNL99P: read - written - exit 255 0.0 s
//         Unbekannte DNL-Funktion: MGDNL99P
//         preluxa-batch: out/t2.dnl left as it was
//     total: jobs 2, ok 1, failed 1, skipped 0, 1.4 s
#pragma once

#include "run/batch_jobs.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// How a job ended.
enum JobResult {
    JOB_OK,      // preluxa exited with 0 and the target was replaced
    JOB_FAILED,  // preluxa failed or the target could not be replaced
    JOB_SKIPPED, // not started: an earlier job for the same file failed, or the batch was stopped
};

// The end of one job, as the summary reports it.
struct JobOutcome {
    JobResult result;   // ok, failed or skipped
    int exitStatus;     // preluxa's exit status, -1 when it did not exit by itself
    int signal;         // the signal that ended preluxa, 0 when none did
    std::string output; // preluxa's console output, standard output and error together
    std::string note;   // preluxa-batch's own message about the job, empty when none
    double seconds;     // from the job's start to its end
};

// Console lines of a failed job repeated under its summary line.
constexpr size_t kFailureLineCount = 3;

// Finds the last totals line "Ausweise gesamt: R davon in Datei gestellt: W"
// of preluxa's output. Returns true and the two counts when there is one.
bool ParseTotalsLine(std::string_view output, long *badgesRead, long *badgesWritten);

// The last `count` lines of the output that hold more than blanks, oldest
// first; a carriage return also ends a line.
std::vector<std::string> LastConsoleLines(std::string_view output, size_t count);

// Prints the job's summary line and, unless it succeeded, the lines that say
// why, indented by four blanks.
void PrintJobSummary(std::FILE *out, const BatchJob &job, int jobNumber, const JobOutcome &outcome);

// Prints the total line.
void PrintBatchTotal(std::FILE *out, int jobs, int ok, int failed, int skipped, double seconds);
