#include "run/batch_report.h"

#include <charconv>

namespace {

constexpr std::string_view kTotalsRead = "Ausweise gesamt: ";
constexpr std::string_view kTotalsWritten = " davon in Datei gestellt: ";

// Reads a decimal count at the start of text into *value and drops it from
// text. Returns false when there are no digits or the count does not fit.
bool TakeCount(std::string_view *text, long *value) {
    if (text->empty() || (*text)[0] < '0' || (*text)[0] > '9') {
        return false;
    }
    auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), *value);
    if (error != std::errc()) {
        return false;
    }
    text->remove_prefix(static_cast<size_t>(end - text->data()));
    return true;
}

bool ParseTotals(std::string_view line, long *badgesRead, long *badgesWritten) {
    if (!line.starts_with(kTotalsRead)) {
        return false;
    }
    line.remove_prefix(kTotalsRead.size());
    if (!TakeCount(&line, badgesRead) || !line.starts_with(kTotalsWritten)) {
        return false;
    }
    line.remove_prefix(kTotalsWritten.size());
    return TakeCount(&line, badgesWritten) && line.empty();
}

// A field as it would be written in the job file: quoted when it is empty or
// holds blanks, tabs or quotes, so the summary shows where a field ends.
std::string ShowField(const std::string &field) {
    if (!field.empty() && field.find_first_of(" \t\"") == std::string::npos) {
        return field;
    }
    std::string shown = "\"";
    for (char c : field) {
        shown += c;
        if (c == '"') {
            shown += '"';
        }
    }
    return shown + "\"";
}

std::string ShowCount(bool found, long count) {
    return found ? std::to_string(count) : "-";
}

std::string ShowEnd(const JobOutcome &outcome) {
    if (outcome.signal != 0) {
        return "signal " + std::to_string(outcome.signal);
    }
    return outcome.exitStatus < 0 ? "exit -" : "exit " + std::to_string(outcome.exitStatus);
}

const char *ResultWord(JobResult result) {
    switch (result) {
    case JOB_OK:
        return "ok";
    case JOB_FAILED:
        return "FAILED";
    case JOB_SKIPPED:
        break;
    }
    return "SKIPPED";
}

} // namespace

bool ParseTotalsLine(std::string_view output, long *badgesRead, long *badgesWritten) {
    size_t end = output.size();
    while (end > 0) {
        size_t start = output.rfind('\n', end - 1);
        start = start == std::string_view::npos ? 0 : start + 1;
        if (ParseTotals(output.substr(start, end - start), badgesRead, badgesWritten)) {
            return true;
        }
        end = start == 0 ? 0 : start - 1;
    }
    return false;
}

std::vector<std::string> LastConsoleLines(std::string_view output, size_t count) {
    std::vector<std::string> lines;
    size_t end = output.size();
    while (end > 0 && lines.size() < count) {
        size_t start = output.find_last_of("\r\n", end - 1);
        start = start == std::string_view::npos ? 0 : start + 1;
        std::string_view line = output.substr(start, end - start);
        if (line.find_first_not_of(" \t") != std::string_view::npos) {
            lines.insert(lines.begin(), std::string(line));
        }
        end = start == 0 ? 0 : start - 1;
    }
    return lines;
}

void PrintJobSummary(std::FILE *out, const BatchJob &job, int jobNumber,
                     const JobOutcome &outcome) {
    long badgesRead = 0;
    long badgesWritten = 0;
    bool found = ParseTotalsLine(outcome.output, &badgesRead, &badgesWritten);
    std::fprintf(out, "%-7s job %d (line %d) %s %s: read %s written %s %s %.1f s\n",
                 ResultWord(outcome.result), jobNumber, job.line, ShowField(job.terminal).c_str(),
                 ShowField(job.function).c_str(), ShowCount(found, badgesRead).c_str(),
                 ShowCount(found, badgesWritten).c_str(), ShowEnd(outcome).c_str(),
                 outcome.seconds);
    if (outcome.result == JOB_OK) {
        return;
    }
    // After a clean exit preluxa's last lines are only its totals; the note
    // says what went wrong.
    bool showOutput = outcome.exitStatus != 0;
    std::vector<std::string> lines;
    if (showOutput) {
        lines = LastConsoleLines(outcome.output, kFailureLineCount);
    }
    if (!outcome.note.empty()) {
        lines.push_back("preluxa-batch: " + outcome.note);
    }
    if (lines.empty()) {
        lines.push_back("(no console output)");
    }
    for (const std::string &line : lines) {
        std::fprintf(out, "    %s\n", line.c_str());
    }
}

void PrintBatchTotal(std::FILE *out, int jobs, int ok, int failed, int skipped, double seconds) {
    std::fprintf(out, "total: jobs %d, ok %d, failed %d, skipped %d, %.1f s\n", jobs, ok, failed,
                 skipped, seconds);
}
