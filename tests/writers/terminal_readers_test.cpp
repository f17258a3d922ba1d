// The reader statement runs once per walk instead of once per badge: every
// record and every console line must stay exactly as with the statement sent
// for every badge.
//
// The order of records is compared without the part the server leaves open:
// rows that tie in a statement's ORDER BY (the two location rows of a badge in
// the badge statement, access classes of one priority) come in an order that
// may change from one execution to the next, as the server sorts them in a
// temporary table. So each file is compared as its sorted records.
#include "lookup/access.h"
#include "writers/idstamm.h"
#include "writers/mgdnl17p.h"
#include "writers/mgdnl18p.h"
#include "writers/mgdnl31p.h"
#include "writers/mgdnl60p.h"

#include "db/db.h"
#include "support/test_db.h"
#include "support/writer_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// db/generate.sql for a number of badges and a seed.
std::string GeneratedInstallation(int badges, int seed) {
    std::string sql = ReadSourceFile("db/generate.sql");
    for (const auto &[placeholder, value] :
         {std::pair<std::string, std::string>{"@BADGES@", std::to_string(badges)},
          {"@SEED@", std::to_string(seed)}}) {
        for (size_t at = sql.find(placeholder); at != std::string::npos;
             at = sql.find(placeholder, at)) {
            sql.replace(at, placeholder.size(), value);
        }
    }
    return sql;
}

struct InstallationCase {
    const char *name;
    std::string sql;
    std::vector<std::string> terminals;
};

struct WriterCase {
    const char *function;
    WriterFunction writer;
    bool marksReaders;   // sends the reader statement
    size_t recordLength; // 0: lines ending in CR LF
};

const WriterCase kWriters[] = {
    {"MGDNL17P", WriteMGDNL17P, true, 85},   {"MGDNL60P", WriteMGDNL60P, true, 45},
    {"MGDNL18P", WriteMGDNL18P, false, 173}, {"MGDNL31P", WriteMGDNL31P, false, 48},
    {"IDSTAMM", WriteIDSTAMM, false, 0},
};

// The file's records in sorted order; a last piece that is not a whole record
// stays a record of its own, so that it cannot go unnoticed.
std::vector<std::string> SortedRecords(const WriterCase &writer, const std::string &file) {
    std::vector<std::string> records;
    size_t at = 0;
    while (at < file.size()) {
        size_t end;
        if (writer.recordLength > 0) {
            end = std::min(at + writer.recordLength, file.size());
        } else {
            size_t lineEnd = file.find("\r\n", at);
            end = lineEnd == std::string::npos ? file.size() : lineEnd + 2;
        }
        records.push_back(file.substr(at, end - at));
        at = end;
    }
    std::sort(records.begin(), records.end());
    return records;
}

struct CountedRun {
    WriterRun run;
    long statements;
};

CountedRun RunCounted(const WriterCase &writer, const std::string &terminal, bool verbose,
                      bool keepReaders) {
    SetReaderCacheForTests(keepReaders);
    ConnectGenerator();
    long before = DbStatementsSent();
    WriterRun run = RunWriter(writer.writer, terminal, verbose);
    CountedRun counted{run, DbStatementsSent() - before};
    SetReaderCacheForTests(true);
    return counted;
}

class TerminalReadersTest : public ::testing::Test {
  protected:
    void TearDown() override {
        SetReaderCacheForTests(true);
        EndGeneratorTransaction();
    }
};

TEST_F(TerminalReadersTest, FilesAndConsoleAreTheSameAsWithTheReaderStatementPerBadge) {
    const InstallationCase installations[] = {
        {"demo", ReadSourceFile("db/demo.sql"), {"EINGANG-01", "KANTINE-02", "LAGER-03"}},
        // A 7744-010 terminal for all badges, a 7598-002 terminal with client
        // assignments, a 7700-001 terminal for all badges.
        {"generated", GeneratedInstallation(200, 3), {"TRM-003", "TRM-004", "TRM-005"}},
    };
    for (const InstallationCase &installation : installations) {
        SCOPED_TRACE(installation.name);
        LoadFixture(installation.sql);
        for (const std::string &terminal : installation.terminals) {
            for (const WriterCase &writer : kWriters) {
                for (bool verbose : {false, true}) {
                    SCOPED_TRACE(terminal + " " + writer.function + (verbose ? " /d" : ""));
                    CountedRun kept = RunCounted(writer, terminal, verbose, true);
                    CountedRun perBadge = RunCounted(writer, terminal, verbose, false);
                    EXPECT_EQ(kept.run.result, 1);
                    EXPECT_EQ(kept.run.result, perBadge.run.result);
                    EXPECT_EQ(kept.run.out, perBadge.run.out);
                    EXPECT_EQ(kept.run.file.size(), perBadge.run.file.size());
                    EXPECT_EQ(SortedRecords(writer, kept.run.file),
                              SortedRecords(writer, perBadge.run.file));
                    EXPECT_FALSE(kept.run.file.empty()) << "nothing was compared";
                    if (writer.marksReaders) {
                        EXPECT_LT(kept.statements, perBadge.statements);
                    } else {
                        EXPECT_EQ(kept.statements, perBadge.statements);
                    }
                }
            }
        }
    }
}

} // namespace
