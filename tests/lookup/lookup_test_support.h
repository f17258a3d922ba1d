// Helpers shared by the lookup tests: fixtures on the throwaway server, a
// fresh TerminalRecord, and capturing what a call prints.
#pragma once

#include "common/records.h"
#include "common/run_state.h"
#include "common/text.h"
#include "db/db.h"
#include "support/capture.h"
#include "support/test_db.h"

#include <gtest/gtest.h>
#include <mysql.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>

inline void LoadLookupFixture(const std::string &sql) {
    ConnectGenerator();
    LoadFixture(sql);
}

// A record as run control creates it: all zero, then the name.
inline TerminalRecord MakeTerminal(const char *name, int assignmentCount = 0) {
    TerminalRecord terminal = {};
    if (!CopyText(terminal.TrmNam, sizeof terminal.TrmNam, name)) {
        throw std::runtime_error("terminal name too long for the record");
    }
    terminal.AssignmentCount = assignmentCount;
    return terminal;
}

// The value of a date expression as the badge statements format it, or an
// empty text for NULL.
inline std::string DateDigits(const std::string &expression) {
    std::string value = QueryValue("SELECT DATE_FORMAT(" + expression + ", '%Y%m%d')");
    return value == "NULL" ? "" : value;
}

// Ends every test with the generator's transaction closed and verbose mode off.
class LookupTest : public ::testing::Test {
  protected:
    void TearDown() override {
        VerboseMode = 0;
        EndGeneratorTransaction();
    }
};
