// Running a writer in the test process, as run control does once it has
// connected, opened the download file and looked the terminal up.
#pragma once

#include "common/records.h"

#include <functional>
#include <string>

typedef int (*WriterFunction)(const char *downloadPath, TerminalRecord *terminal);

struct WriterRun {
    int result;       // the writer's result, 1 or 0
    std::string out;  // standard output of the run, byte for byte
    std::string file; // the download file's bytes
};

// Runs the writer for the terminal in this process (the generator's
// connection is made first if needed).
WriterRun RunWriter(WriterFunction writer, const std::string &terminalName, bool verbose = false);

// Runs the writer in a child process with a connection of its own, after
// `prepare` (which may change process-wide state the parent must keep).
WriterRun RunWriterInChild(WriterFunction writer, const std::string &terminalName,
                           const std::function<void()> &prepare);

// Runs the writer in a child process with a connection of its own, and kills
// that connection from a second one right before the child's statement number
// `killBeforeStatement` (counted from the start of the walk) is sent.
WriterRun RunWriterWithLostConnection(WriterFunction writer, const std::string &terminalName,
                                      long killBeforeStatement);

// Checks that a fixed-length file is exactly `records` records of `length`
// characters, with no line break and no zero byte anywhere.
void ExpectWholeRecords(const std::string &file, size_t records, size_t length);
