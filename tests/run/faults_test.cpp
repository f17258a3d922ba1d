// Faults of the database and its server, and the read-only promise: the
// generator never changes the database, whatever it builds.
#include "support/installation.h"
#include "support/test_db.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kFailed = 255;

const char *const kTables[] = {"Orv301Asw",  "Orv113Awv", "Orv113Sto", "Orv115Tfz",
                               "Orv1140Trm", "MGSST35P",  "Orv301Awb", "Orv401Zls",
                               "O2002TSW",   "Orv119Msd", "Orv102Whl"};

// CHECKSUM TABLE of every table the generator reads.
std::map<std::string, std::string> ChecksumTables() {
    std::map<std::string, std::string> sums;
    for (const char *table : kTables) {
        sums[table] = QueryRow(std::string("CHECKSUM TABLE Orvadat.") + table + " EXTENDED").at(1);
    }
    return sums;
}

class FaultsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadFixture(ReadSourceFile("db/demo.sql"));
        installation_.WriteTestLogin();
    }
    std::string File() const {
        return installation_ / "out.dnl";
    }
    Installation installation_;
};

TEST_F(FaultsTest, EveryFunctionLeavesTheDatabaseUnchanged) {
    std::map<std::string, std::string> before = ChecksumTables();
    for (const std::string &function : kDnlFunctions) {
        for (const char *terminal : {"EINGANG-01", "KANTINE-02", "LAGER-03", "UNBEKANNT"}) {
            SCOPED_TRACE(function + " " + terminal);
            ProgramResult result = installation_.Run({function, terminal, File(), "1", "/d"});
            EXPECT_EQ(result.exitStatus, 0) << result.out;
        }
    }
    EXPECT_EQ(ChecksumTables(), before);
}

TEST_F(FaultsTest, GeneratorLoginCanOnlyRead) {
    const std::string grantee = "GRANTEE = \"'preluxa_ro'@'localhost'\"";
    EXPECT_EQ(QueryValue("SELECT GROUP_CONCAT(PRIVILEGE_TYPE) FROM "
                         "information_schema.SCHEMA_PRIVILEGES WHERE " +
                         grantee),
              "SELECT");
    EXPECT_EQ(QueryValue("SELECT GROUP_CONCAT(PRIVILEGE_TYPE) FROM "
                         "information_schema.USER_PRIVILEGES WHERE " +
                         grantee),
              "USAGE");
}

TEST_F(FaultsTest, UnreachableServerGivesTheConnectionFailure) {
    WriteBytes(File(), "previous");
    ProgramResult result = installation_.Run({"IDSTAMM", "EINGANG-01", File(), "1"},
                                             {"MYSQL_UNIX_PORT=/nonexistent/mysqld.sock"});
    EXPECT_EQ(result.exitStatus, kFailed);
    EXPECT_EQ(result.out,
              "DB-Connect-Error: 2002!Name:preluxa_ro Pwd:*** Net:localhost Schema:ORVADAT\n");
    EXPECT_EQ(ReadBytes(File()), "previous");
}

// A failing per-badge statement counts as "nothing found", as for any server
// error; only the badge statement itself makes the run fail.
TEST_F(FaultsTest, MissingTablesAndPrivilegesFollowTheStatementErrorRules) {
    ExecSql("CREATE USER IF NOT EXISTS 'preluxa_part'@'localhost' IDENTIFIED BY 'part';"
            "GRANT SELECT ON Orvadat.Orv301Asw TO 'preluxa_part'@'localhost';"
            "GRANT SELECT ON Orvadat.Orv113Awv TO 'preluxa_part'@'localhost';"
            "GRANT SELECT ON Orvadat.Orv1140Trm TO 'preluxa_part'@'localhost';"
            "GRANT SELECT ON Orvadat.Orv115Tfz TO 'preluxa_part'@'localhost';");
    installation_.WriteLogin("preluxa_part", "part", "localhost", "orvadat.");
    for (const std::string &function : kDnlFunctions) {
        SCOPED_TRACE(function);
        ProgramResult result = installation_.Run({function, "EINGANG-01", File(), "1"});
        EXPECT_EQ(result.exitStatus, 0) << result.out;
        EXPECT_EQ(ReadBytes(File()), "") << "no authorisation can be read";
    }

    installation_.WriteTestLogin();
    ExecSql("DROP TABLE Orvadat.Orv301Asw");
    for (const std::string &function : kDnlFunctions) {
        SCOPED_TRACE(function);
        ProgramResult result = installation_.Run({function, "EINGANG-01", File(), "1"});
        EXPECT_EQ(result.exitStatus, kFailed);
        const std::string abort =
            "Programmabbruch: Fehler bei Erstellung der Datei " + function + "!\n";
        EXPECT_NE(result.out.find("Ausweise gesamt: 0 davon in Datei gestellt: 0\n"),
                  std::string::npos)
            << result.out;
        ASSERT_GE(result.out.size(), abort.size());
        EXPECT_EQ(result.out.substr(result.out.size() - abort.size()), abort);
    }
    ExecSql("DROP USER 'preluxa_part'@'localhost'");
}

} // namespace
