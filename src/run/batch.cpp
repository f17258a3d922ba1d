#include "run/batch.h"

#include "run/batch_jobs.h"
#include "run/batch_workers.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

constexpr char kUsage[] =
    "usage: preluxa-batch JOBFILE [-j N] [--preluxa PATH]\n"
    "  JOBFILE         one job per line: FUNCTION TERMINAL PATH MODE\n"
    "  -j N            jobs run at the same time (default: online processors)\n"
    "  --preluxa PATH  the generator (default: preluxa beside this program)\n";

struct BatchCommand {
    std::string jobFile;
    std::string preluxa; // empty: the one beside this program
    int workers = 0;     // 0: one per online processor
};

bool ParseWorkers(std::string_view text, int *workers) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *workers);
    return error == std::errc() && end == text.data() + text.size() && *workers >= 1;
}

// Returns an empty text or what is wrong with the command line.
std::string ParseCommand(int argc, char **argv, BatchCommand *command) {
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "-j" || arg == "--preluxa") {
            if (i + 1 >= argc) {
                return std::string(arg) + " needs a value";
            }
            std::string_view value = argv[++i];
            if (arg == "--preluxa") {
                command->preluxa = value;
            } else if (!ParseWorkers(value, &command->workers)) {
                return "-j needs a whole number of at least 1, not '" + std::string(value) + "'";
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unknown option " + std::string(arg);
        } else if (!command->jobFile.empty()) {
            return "only one job file, not " + command->jobFile + " and " + std::string(arg);
        } else {
            command->jobFile = arg;
        }
    }
    return command->jobFile.empty() ? "no job file given" : "";
}

// The preluxa executable in the directory of the running program; empty when
// /proc/self/exe cannot be read.
std::string PreluxaBesideThisProgram() {
    std::vector<char> buffer(4096);
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) {
        return "";
    }
    std::string self(buffer.data(), static_cast<size_t>(length));
    return self.substr(0, self.rfind('/') + 1) + "preluxa";
}

// Reads the whole job file. Returns false with errno set.
bool ReadWholeFile(const std::string &path, std::string *text) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    char buffer[65536];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text->append(buffer, count);
    }
    bool failed = std::ferror(file) != 0;
    int saved = errno;
    std::fclose(file);
    errno = failed ? saved : 0;
    return !failed;
}

int UsageError(const std::string &message) {
    std::fprintf(stderr, "preluxa-batch: %s\n%s", message.c_str(), kUsage);
    return kBatchUsageError;
}

} // namespace

int RunBatch(int argc, char **argv) {
    BatchCommand command;
    std::string problem = ParseCommand(argc, argv, &command);
    if (!problem.empty()) {
        return UsageError(problem);
    }

    BatchSettings settings{command.preluxa, command.workers};
    if (settings.preluxa.empty()) {
        settings.preluxa = PreluxaBesideThisProgram();
        if (settings.preluxa.empty()) {
            std::fprintf(stderr, "preluxa-batch: cannot find its own directory; name the "
                                 "generator with --preluxa\n");
            return kBatchUsageError;
        }
    }
    // Checked once here rather than failing every job the same way.
    if (access(settings.preluxa.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "preluxa-batch: cannot run %s: %s\n", settings.preluxa.c_str(),
                     std::strerror(errno));
        return kBatchUsageError;
    }
    if (settings.workers == 0) {
        long online = sysconf(_SC_NPROCESSORS_ONLN); // -1 when it cannot tell
        settings.workers = static_cast<int>(std::clamp(online, 1L, 1024L));
    }

    std::string text;
    if (!ReadWholeFile(command.jobFile, &text)) {
        std::fprintf(stderr, "preluxa-batch: cannot read %s: %s\n", command.jobFile.c_str(),
                     std::strerror(errno));
        return kBatchUsageError;
    }
    std::vector<BatchJob> jobs;
    std::vector<JobFileError> errors;
    if (!ParseJobText(text, &jobs, &errors)) {
        for (const JobFileError &error : errors) {
            std::fprintf(stderr, "preluxa-batch: %s:%d: %s\n", command.jobFile.c_str(), error.line,
                         error.reason.c_str());
        }
        std::fprintf(stderr, "preluxa-batch: no job was run\n");
        return kBatchUsageError;
    }
    // A closed standard output must not end the batch between a job's end
    // and the removal of its temporary file.
    std::signal(SIGPIPE, SIG_IGN);
    bool succeeded = RunBatchJobs(jobs, settings, stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "preluxa-batch: cannot write the job summaries\n");
        return kBatchJobFailed;
    }
    return succeeded ? kBatchSucceeded : kBatchJobFailed;
}
