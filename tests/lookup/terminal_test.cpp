#include "lookup/terminal.h"

#include "lookup_test_support.h"

#include <string>

namespace {

using TerminalLookupTest = LookupTest;

struct TerminalCase {
    const char *name;
    const char *model;      // expected TRMMOD
    const char *displaySet; // expected TRMSAL
    int assignmentCount;
};

TEST_F(TerminalLookupTest, FindsActiveTerminalAndCountsActiveAssignments) {
    LoadLookupFixture(R"sql(
        INSERT INTO Orvadat.Orv1140Trm (TrmNam, TRMMOD, TRMSAL, TrmSta) VALUES
          ('T1', '7744-010  \t ', 'SAL1  ', NULL),
          ('T2', ' 7744', NULL, 0),
          ('T3', 'GONE', 'GONE', 4),
          ('T4', 'GONE', 'GONE', 8);
        INSERT INTO Orvadat.Orv115Tfz (TfzTrm, TfzLiz, TfzMnd, TfzSta) VALUES
          ('T1', 1, 1, NULL), ('T1', 1, 2, 0), ('T1', 2, 1, 1), ('T1', 2, 2, 4),
          ('T2', 1, 1, 4), ('T2', 1, 2, 8),
          ('T3', 1, 1, NULL),
          ('UNLISTED', 1, 1, NULL), ('UNLISTED', 1, 2, NULL);
    )sql");
    const TerminalCase cases[] = {
        {"T1", "7744-010", "SAL1", 3}, // trailing blanks and tab trimmed; status 4 not counted
        {"T2", " 7744", "", 0},        // leading blank kept; NULL display set; all inactive
        {"T3", "", "", 1},             // status 4 terminal is absent, its count still taken
        {"T4", "", "", 0},             // status 8 terminal is absent
        {"UNLISTED", "", "", 2},       // no terminal row at all, still counted
        {"NOBODY", "", "", 0},
    };
    for (const TerminalCase &c : cases) {
        SCOPED_TRACE(c.name);
        TerminalRecord terminal = MakeTerminal(c.name);
        std::string out;
        int status = 0;
        out = CaptureStdout([&] { status = LookupTerminal(&terminal); });
        EXPECT_EQ(status, 0);
        EXPECT_EQ(DbStatus, 0);
        EXPECT_STREQ(terminal.TrmNam, c.name);
        EXPECT_STREQ(terminal.TRMMOD, c.model);
        EXPECT_STREQ(terminal.TRMSAL, c.displaySet);
        EXPECT_EQ(terminal.AssignmentCount, c.assignmentCount);
        EXPECT_EQ(out, "");
    }
}

TEST_F(TerminalLookupTest, ValuesLongerThanTheirFieldEndTheLookup) {
    struct LengthCase {
        const char *model;
        const char *displaySet;
        int status;
        const char *storedModel;
        const char *storedDisplaySet;
        const char *out;
    };
    const LengthCase cases[] = {
        {"MODEL67890", "SAL456789012", 0, "MODEL67890", "SAL456789012", ""},
        {"MODEL67890   ", "SAL456789012 \t", 0, "MODEL67890", "SAL456789012", ""},
        {"MODEL678901", "SAL1", TERMINAL_FIELD_TOO_LONG, "", "SAL1",
         "Terminal T'X: TRMMOD zu lang (11 Zeichen, hoechstens 10)\n"},
        {"M", "SAL4567890123", TERMINAL_FIELD_TOO_LONG, "M", "",
         "Terminal T'X: TRMSAL zu lang (13 Zeichen, hoechstens 12)\n"},
    };
    VerboseMode = 0;
    for (const LengthCase &c : cases) {
        SCOPED_TRACE(c.model);
        LoadLookupFixture(std::string("INSERT INTO Orvadat.Orv1140Trm (TrmNam, TRMMOD, TRMSAL) "
                                      "VALUES ('T''X', '") +
                          c.model + "', '" + c.displaySet + "')");
        TerminalRecord terminal = MakeTerminal("T'X");
        int status = 0;
        std::string out = CaptureStdout([&] { status = LookupTerminal(&terminal); });
        EXPECT_EQ(status, c.status);
        EXPECT_STREQ(terminal.TRMMOD, c.storedModel);
        EXPECT_STREQ(terminal.TRMSAL, c.storedDisplaySet);
        EXPECT_EQ(out, c.out);
    }
}

TEST_F(TerminalLookupTest, NameWithQuoteAndBackslashIsMatchedLiterally) {
    LoadLookupFixture(R"sql(
        INSERT INTO Orvadat.Orv1140Trm (TrmNam, TRMMOD, TRMSAL) VALUES
          ('T''1\\x', 'QUOTED', 'SALQ'), ('T''1x', 'PLAIN', 'SALP');
        INSERT INTO Orvadat.Orv115Tfz (TfzTrm, TfzLiz, TfzMnd) VALUES
          ('T''1\\x', 1, 1), ('T''1\\x', 1, 2), ('T''1x', 1, 1);
    )sql");
    TerminalRecord terminal = MakeTerminal("T'1\\x");
    EXPECT_EQ(LookupTerminal(&terminal), 0);
    EXPECT_STREQ(terminal.TRMMOD, "QUOTED");
    EXPECT_STREQ(terminal.TRMSAL, "SALQ");
    EXPECT_EQ(terminal.AssignmentCount, 2);
}

TEST_F(TerminalLookupTest, FailedTerminalStatementSkipsTheCount) {
    LoadLookupFixture(R"sql(
        INSERT INTO Orvadat.Orv115Tfz (TfzTrm, TfzLiz, TfzMnd) VALUES ('T1', 1, 1);
        DROP TABLE Orvadat.Orv1140Trm;
    )sql");
    TerminalRecord terminal = MakeTerminal("T1");
    EXPECT_EQ(LookupTerminal(&terminal), 1146); // ER_NO_SUCH_TABLE
    EXPECT_EQ(DbStatus, 1146);
    EXPECT_STREQ(terminal.TRMMOD, "");
    EXPECT_STREQ(terminal.TRMSAL, "");
    EXPECT_EQ(terminal.AssignmentCount, 0);
}

TEST_F(TerminalLookupTest, FailedCountStatementKeepsTheTerminalFields) {
    LoadLookupFixture(R"sql(
        INSERT INTO Orvadat.Orv1140Trm (TrmNam, TRMMOD, TRMSAL) VALUES ('T1', '7744-010', 'SAL1');
        DROP TABLE Orvadat.Orv115Tfz;
    )sql");
    TerminalRecord terminal = MakeTerminal("T1");
    EXPECT_EQ(LookupTerminal(&terminal), 1146);
    EXPECT_STREQ(terminal.TRMMOD, "7744-010");
    EXPECT_STREQ(terminal.TRMSAL, "SAL1");
    EXPECT_EQ(terminal.AssignmentCount, 0);
}

} // namespace
