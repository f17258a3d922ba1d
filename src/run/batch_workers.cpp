#include "run/batch_workers.h"

#include "run/batch_files.h"
#include "run/batch_report.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <set>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

// A job's state in the batch.
enum JobState { JOB_WAITING, JOB_RUNNING, JOB_DONE };

// A job whose preluxa process is running.
struct RunningJob {
    size_t index;            // position in the job list
    pid_t pid;               // the preluxa process
    int captureFd;           // memory file holding its standard output and error
    JobFile file;            // its temporary and target file
    Clock::time_point start; // when the job was started
};

struct Batch {
    const std::vector<BatchJob> &jobs;          // every job, in job-file order
    const BatchSettings &settings;              // the generator and the worker count
    std::FILE *out;                             // where the summaries go
    std::vector<std::string> fileKeys;          // per job: the download file, resolved
    std::vector<JobState> states;               // per job
    std::map<std::string, int> failedJobOfFile; // file key -> number of its last failed job
    std::vector<RunningJob> running;            // at most settings.workers
    int stopSignal;                             // the signal that stopped the batch, or 0
    int ok;                                     // jobs that ended, by result
    int failed;
    int skipped;
};

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool IsAppendJob(const BatchJob &job) {
    return job.mode.empty() || job.mode[0] != '1';
}

// Two spellings of one download file ("out.dnl", "./out.dnl", a path through
// a linked directory) give the same key.
std::string FileKey(const std::string &path) {
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    if (error) {
        resolved = std::filesystem::absolute(path, error).lexically_normal();
    }
    return error ? path : resolved.string();
}

void Finish(Batch *batch, size_t index, const JobOutcome &outcome) {
    batch->states[index] = JOB_DONE;
    const std::string &key = batch->fileKeys[index];
    switch (outcome.result) {
    case JOB_OK:
        ++batch->ok;
        batch->failedJobOfFile.erase(key);
        break;
    case JOB_FAILED:
        ++batch->failed;
        batch->failedJobOfFile[key] = static_cast<int>(index) + 1;
        break;
    case JOB_SKIPPED:
        ++batch->skipped;
        break;
    }
    PrintJobSummary(batch->out, batch->jobs[index], static_cast<int>(index) + 1, outcome);
    std::fflush(batch->out);
}

JobOutcome FailedOutcome(const std::string &note, Clock::time_point start) {
    return {JOB_FAILED, -1, 0, "", note, SecondsSince(start)};
}

// Starts preluxa with stdin from /dev/null and stdout and stderr into
// captureFd. Returns 0 or an error number.
int SpawnPreluxa(const std::string &preluxa, const BatchJob &job, const std::string &temp,
                 int captureFd, pid_t *pid) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, captureFd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, captureFd, STDERR_FILENO);
    // The batch blocks these signals to wait for them; preluxa gets them
    // unblocked and with their default action.
    sigset_t none;
    sigset_t defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int signal : {SIGCHLD, SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        sigaddset(&defaults, signal);
    }
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char *> argv;
    for (const std::string *arg : {&preluxa, &job.function, &job.terminal, &temp, &job.mode}) {
        argv.push_back(const_cast<char *>(arg->c_str()));
    }
    argv.push_back(nullptr);
    int error = posix_spawn(pid, preluxa.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return error;
}

void StartJob(Batch *batch, size_t index) {
    const BatchJob &job = batch->jobs[index];
    batch->states[index] = JOB_RUNNING;
    RunningJob run{index, -1, -1, {}, Clock::now()};
    std::string reason = PrepareJobFile(job, static_cast<int>(index) + 1, &run.file);
    if (!reason.empty()) {
        Finish(batch, index, FailedOutcome(reason, run.start));
        return;
    }
    run.captureFd = memfd_create("preluxa-output", MFD_CLOEXEC);
    if (run.captureFd < 0) {
        reason = std::string("cannot capture the output: ") + std::strerror(errno);
    } else {
        int error =
            SpawnPreluxa(batch->settings.preluxa, job, run.file.temp, run.captureFd, &run.pid);
        if (error != 0) {
            reason = "cannot start " + batch->settings.preluxa + ": " + std::strerror(error);
            close(run.captureFd);
        }
    }
    if (!reason.empty()) {
        DiscardJobFile(&run.file);
        Finish(batch, index,
               FailedOutcome(reason + "; " + job.path + " left as it was", run.start));
        return;
    }
    batch->running.push_back(run);
}

std::string ReadCapture(int fd) {
    std::string text;
    char buffer[65536];
    off_t offset = 0;
    while (true) {
        ssize_t count = pread(fd, buffer, sizeof buffer, offset);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return text;
        }
        text.append(buffer, static_cast<size_t>(count));
        offset += count;
    }
}

// Ends a job whose process has been collected; status is null when waitpid
// could not tell how it ended.
void EndJob(Batch *batch, RunningJob *run, const int *status) {
    const BatchJob &job = batch->jobs[run->index];
    JobOutcome outcome{JOB_FAILED, -1, 0, ReadCapture(run->captureFd), "", 0.0};
    close(run->captureFd);
    if (status == nullptr) {
        outcome.note = std::string("lost track of preluxa: ") + std::strerror(errno);
    } else if (WIFEXITED(*status)) {
        outcome.exitStatus = WEXITSTATUS(*status);
    } else if (WIFSIGNALED(*status)) {
        outcome.signal = WTERMSIG(*status);
    }
    if (outcome.exitStatus == 0) {
        outcome.note = CommitJobFile(&run->file);
        if (outcome.note.empty()) {
            outcome.result = JOB_OK;
        }
    } else {
        DiscardJobFile(&run->file);
        outcome.note += (outcome.note.empty() ? "" : "; ") + job.path + " left as it was";
    }
    outcome.seconds = SecondsSince(run->start);
    Finish(batch, run->index, outcome);
}

// Collects every preluxa process that has ended.
void ReapJobs(Batch *batch) {
    for (size_t i = 0; i < batch->running.size();) {
        int status = 0;
        pid_t pid = waitpid(batch->running[i].pid, &status, WNOHANG);
        if (pid == 0 || (pid < 0 && errno == EINTR)) {
            ++i;
            continue;
        }
        RunningJob run = batch->running[i];
        batch->running.erase(batch->running.begin() + static_cast<long>(i));
        EndJob(batch, &run, pid < 0 ? nullptr : &status);
    }
}

// Starts the waiting jobs that may run now, in job order, while workers are
// free; skips those that cannot run any more.
void StartJobs(Batch *batch) {
    std::set<std::string> busyFiles; // files of earlier jobs not yet done
    for (size_t index = 0; index < batch->jobs.size(); ++index) {
        const std::string &key = batch->fileKeys[index];
        if (batch->states[index] == JOB_WAITING && busyFiles.count(key) == 0) {
            const BatchJob &job = batch->jobs[index];
            auto failure = batch->failedJobOfFile.find(key);
            if (batch->stopSignal != 0) {
                Finish(batch, index,
                       {JOB_SKIPPED, -1, 0, "",
                        "not started: the batch was stopped by signal " +
                            std::to_string(batch->stopSignal),
                        0.0});
            } else if (IsAppendJob(job) && failure != batch->failedJobOfFile.end()) {
                Finish(batch, index,
                       {JOB_SKIPPED, -1, 0, "",
                        "not started: job " + std::to_string(failure->second) +
                            " for the same file failed; " + job.path + " left as it was",
                        0.0});
            } else if (batch->running.size() < static_cast<size_t>(batch->settings.workers)) {
                StartJob(batch, index);
            }
        }
        if (batch->states[index] != JOB_DONE) {
            busyFiles.insert(key);
        }
    }
}

void StopJobs(Batch *batch, int signal) {
    if (batch->stopSignal == 0) {
        batch->stopSignal = signal;
    }
    for (const RunningJob &run : batch->running) {
        kill(run.pid, SIGTERM);
    }
}

} // namespace

bool RunBatchJobs(const std::vector<BatchJob> &jobs, const BatchSettings &settings,
                  std::FILE *out) {
    Clock::time_point start = Clock::now();
    Batch batch{.jobs = jobs,
                .settings = settings,
                .out = out,
                .fileKeys = {},
                .states = std::vector<JobState>(jobs.size(), JOB_WAITING),
                .failedJobOfFile = {},
                .running = {},
                .stopSignal = 0,
                .ok = 0,
                .failed = 0,
                .skipped = 0};
    for (const BatchJob &job : jobs) {
        batch.fileKeys.push_back(FileKey(job.path));
    }

    // The signals are blocked and taken with sigwaitinfo, so that none is
    // lost between starting a job and waiting.
    sigset_t wanted;
    sigset_t previous;
    sigemptyset(&wanted);
    for (int signal : {SIGCHLD, SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&wanted, signal);
    }
    sigprocmask(SIG_BLOCK, &wanted, &previous);
    while (true) {
        StartJobs(&batch);
        if (batch.running.empty()) {
            break;
        }
        int signal = sigwaitinfo(&wanted, nullptr);
        if (signal == SIGCHLD) {
            ReapJobs(&batch);
        } else if (signal > 0) {
            StopJobs(&batch, signal);
        }
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);

    PrintBatchTotal(out, static_cast<int>(jobs.size()), batch.ok, batch.failed, batch.skipped,
                    SecondsSince(start));
    std::fflush(out);
    return batch.ok == static_cast<int>(jobs.size());
}
