// The job file of preluxa-batch: one generator run per line, written as
//
//     FUNCTION TERMINAL PATH MODE
//
// with the fields separated by blanks or tabs (any run of them). A field in
// double quotes may contain blanks and tabs; "" inside the quotes stands for
// one double quote. Lines that are empty, hold only blanks, or whose first
// character other than a blank is '#' are skipped. A carriage return at the
// end of a line is dropped, so files edited on Windows read the same.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One generator run as written in the job file.
struct BatchJob {
    int line;             // line in the job file, counted from 1
    std::string function; // DNL function, passed to preluxa as written
    std::string terminal; // terminal name, passed as written
    std::string path;     // download file; a relative path is taken from the working directory
    std::string mode;     // passed as written: "1" first creates the file, anything else appends
};

// A line that is neither a job, a comment nor blank.
struct JobFileError {
    int line;           // line in the job file, counted from 1
    std::string reason; // what is wrong with it
};

// Splits one line (without its line feed) into fields. Returns an empty text,
// or the reason the line cannot be split; fields then holds what was read.
std::string SplitJobLine(std::string_view line, std::vector<std::string> *fields);

// Reads every line of a job file's text. Returns true when no line was
// malformed; jobs gets the jobs in file order, errors every malformed line.
bool ParseJobText(std::string_view text, std::vector<BatchJob> *jobs,
                  std::vector<JobFileError> *errors);
