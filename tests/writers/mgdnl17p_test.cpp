#include "writers/mgdnl17p.h"

#include "support/test_db.h"
#include "support/writer_run.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

// Terminal T17 has the active readers 1, 2, 6, 7, 8 and 11 (reader 3 has
// status 8; reader 12 lies above the eleven reader fields). Badges
// (locations: 1 "Werkhalle", 2 "EG"):
//   100   three rows; time authorisation, classes A and B (priorities 9, 5);
//         balance "+  12,5"; location 1
//   200   time authorisation only; no time-account row; location 2
//   300   class C only; TswW02 NULL; no first day; no location row
//   400   neither authorisation
//   500   LONG (four characters, priority 9) and E; balance "-1"
//   600   time authorisation, but its only access class WIDE5 is too long
//   ABCDEFGHIJKLMN  fourteen characters, time authorisation
const char kFixture[] = R"sql(
    INSERT INTO Orvadat.Orv1140Trm (TrmNam, TRMMOD, TRMSAL) VALUES ('T17', '7744-010', 'S');
    INSERT INTO Orvadat.Orv401Zls (ZlsTrm, ZlsLes, ZlsSta) VALUES
      ('T17', 1, NULL), ('T17', 2, 0), ('T17', 3, 8), ('T17', 6, NULL), ('T17', 7, NULL),
      ('T17', 8, NULL), ('T17', 11, NULL), ('T17', 12, NULL);
    INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo, AswGbi, AswPnr) VALUES
      ('100', CURDATE() - INTERVAL 1 DAY, NULL, 'P100'),
      ('200', CURDATE() - INTERVAL 1 DAY, NULL, 'P200'),
      ('300', NULL, CURDATE() + INTERVAL 1 DAY, 'P300'),
      ('400', CURDATE() - INTERVAL 1 DAY, NULL, 'P400'),
      ('500', CURDATE() - INTERVAL 1 DAY, NULL, 'P500'),
      ('600', CURDATE() - INTERVAL 1 DAY, NULL, 'P600'),
      ('ABCDEFGHIJKLMN', CURDATE() - INTERVAL 1 DAY, NULL, 'PLONG');
    INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto) VALUES
      ('100', 1), ('100', 1), ('100', 1), ('200', 2), ('300', 99), ('400', 1), ('500', 1),
      ('600', 1), ('ABCDEFGHIJKLMN', 1);
    INSERT INTO Orvadat.Orv113Sto (StoNum, StoKtx) VALUES (1, 'Werkhalle'), (2, 'EG');
    INSERT INTO Orvadat.O2002TSW (TSWIDN, TswW02, TswW09) VALUES
      ('100', '+  12,5', '-7'), ('300', NULL, '-5'), ('500', '-1', NULL);
    INSERT INTO Orvadat.Orv301Awb (AWBASW, AWBBKL, AWBZUV) VALUES
      ('100', 'T', 1), ('100', 'B', 5), ('100', 'A', 9), ('200', 'T', 1), ('300', 'C', 3),
      ('400', 'Z', 1), ('500', 'E', 1), ('500', 'LONG', 9), ('600', 'T', 1),
      ('600', 'WIDE5', 1), ('ABCDEFGHIJKLMN', 'T', 1);
    INSERT INTO Orvadat.MGSST35P (M35TRM, M35BKL, M35LES, M35BCH) VALUES
      ('T17', 'T', '01', '1'), ('T17', 'A', '01', '0'), ('T17', 'B', '01', '0'),
      ('T17', 'C', '02', '0'), ('T17', 'LONG', '01', '0'), ('T17', 'E', '01', '0'),
      ('T17', 'WIDE5', '01', '0'), ('T18', 'Z', '01', '1');
)sql";

constexpr size_t kRecordLength = 85;

class Mgdnl17pTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadFixture(kFixture);
        yesterday_ = QueryValue("SELECT DATE_FORMAT(CURDATE() - INTERVAL 1 DAY, '%Y%m%d')");
    }
    std::string yesterday_;
};

TEST_F(Mgdnl17pTest, WritesEachBadgeNumberOnce) {
    WriterRun run = RunWriter(WriteMGDNL17P, "T17");
    EXPECT_EQ(run.result, 1);
    const std::string &from = yesterday_;
    const std::string expected =
        // badge number  from  TA balance   r1     r2     r3     r4     r5     r6     r7     r8
        //                                  r9     r10    r11
        // One record per access item, booking classes only in reader fields
        // 1 to 6; reader field 7 is the location.
        "100          " + from + "11" + "  12,5 " + "01A  " + "02A  " + "     " + "     " +
        "     " + "06A  " + "07Wer" + "08   " + "     " + "     " + "11   " + "100          " +
        from + "11" + "  12,5 " + "01B  " + "02B  " + "     " + "     " + "     " + "06B  " +
        "07Wer" + "08   " + "     " + "     " + "11   " +
        // Time authorisation only: no reader numbers, but the location.
        "200          " + from + "10" + "       " + "     " + "     " + "     " + "     " +
        "     " + "     " + "07EG " + "     " + "     " + "     " + "     " +
        // No location row: reader field 7 keeps the terminal's reader 7.
        "300          " + "00000000" + "01" + "       " + "01C  " + "02C  " + "     " + "     " +
        "     " + "06C  " + "07   " + "08   " + "     " + "     " + "11   " +
        // LONG is refused, E written.
        "500          " + from + "01" + "     1-" + "01E  " + "02E  " + "     " + "     " +
        "     " + "06E  " + "07Wer" + "08   " + "     " + "     " + "11   ";
    EXPECT_EQ(run.file, expected);
    ExpectWholeRecords(run.file, 5, kRecordLength);
    // Badge 100 is read once; 400 has no authorisation; 600's only access
    // class and the fourteen-character badge number are refused.
    EXPECT_EQ(run.out, "Ausweis 500: Buchungsklasse LONG nicht in Datei gestellt: M35BKL zu lang "
                       "(4 Zeichen, hoechstens 3)\n"
                       "Ausweis 600: Buchungsklasse WIDE5 nicht in Datei gestellt: M35BKL zu lang "
                       "(5 Zeichen, hoechstens 3)\n"
                       "Ausweis ABCDEFGHIJKLMN nicht in Datei gestellt: AswNum zu lang (14 "
                       "Zeichen, hoechstens 13)\n"
                       "Ausweise gesamt: 7 davon in Datei gestellt: 4\n");
}

TEST_F(Mgdnl17pTest, VerboseLinesPerBadgeInOrder) {
    WriterRun run = RunWriter(WriteMGDNL17P, "T17", true);
    EXPECT_EQ(run.result, 1);
    // A badge without a time-account row is reported with 1032; the repeated
    // rows of badge 100 print nothing.
    EXPECT_EQ(run.out, "Aws: 100 Zeitberechtigung: 1\n"
                       "Saldo Ermitteln. Pnr: P200 SQLCode:1032\n"
                       "Aws: 200 Zeitberechtigung: 1\n"
                       "Aws: 300 Zeitberechtigung: 0\n"
                       "Saldo Ermitteln. Pnr: P400 SQLCode:1032\n"
                       "Aws: 400 Zeitberechtigung: 0\n"
                       "Ausweis 400 ohne Zeit-/Zutrittsberechtigung auf Terminal T17\n"
                       "Aws: 500 Zeitberechtigung: 0\n"
                       "Ausweis 500: Buchungsklasse LONG nicht in Datei gestellt: M35BKL zu lang "
                       "(4 Zeichen, hoechstens 3)\n"
                       "Saldo Ermitteln. Pnr: P600 SQLCode:1032\n"
                       "Aws: 600 Zeitberechtigung: 1\n"
                       "Ausweis 600: Buchungsklasse WIDE5 nicht in Datei gestellt: M35BKL zu lang "
                       "(5 Zeichen, hoechstens 3)\n"
                       "Saldo Ermitteln. Pnr: PLONG SQLCode:1032\n"
                       "Aws: ABCDEFGHIJKLMN Zeitberechtigung: 1\n"
                       "Ausweis ABCDEFGHIJKLMN nicht in Datei gestellt: AswNum zu lang (14 "
                       "Zeichen, hoechstens 13)\n"
                       "Ausweise gesamt: 7 davon in Datei gestellt: 4\n");
    EXPECT_EQ(run.file.size(), 5 * kRecordLength);
}

TEST_F(Mgdnl17pTest, FailedLookupsStillWriteTheRecords) {
    // The badge walk works; the time-account and location statements fail.
    LoadFixture(std::string(kFixture) +
                "DROP TABLE Orvadat.O2002TSW; DROP TABLE Orvadat.Orv113Sto;");
    WriterRun run = RunWriter(WriteMGDNL17P, "T17");
    EXPECT_EQ(run.result, 1);
    const std::string &from = yesterday_;
    const std::string expected =
        // badge number  from  TA balance   r1     r2     r3     r4     r5     r6     r7     r8
        //                                  r9     r10    r11
        "100          " + from + "11" + "       " + "01A  " + "02A  " + "     " + "     " +
        "     " + "06A  " + "07   " + "08   " + "     " + "     " + "11   " + "100          " +
        from + "11" + "       " + "01B  " + "02B  " + "     " + "     " + "     " + "06B  " +
        "07   " + "08   " + "     " + "     " + "11   " + "200          " + from + "10" +
        "       " + "     " + "     " + "     " + "     " + "     " + "     " + "     " + "     " +
        "     " + "     " + "     " + "300          " + "00000000" + "01" + "       " + "01C  " +
        "02C  " + "     " + "     " + "     " + "06C  " + "07   " + "08   " + "     " + "     " +
        "11   " + "500          " + from + "01" + "       " + "01E  " + "02E  " + "     " +
        "     " + "     " + "06E  " + "07   " + "08   " + "     " + "     " + "11   ";
    EXPECT_EQ(run.file, expected);
    // The location error is printed also outside verbose mode, the
    // time-account error only in verbose mode.
    EXPECT_EQ(run.out, "SQL Standortbez. Ermitteln. SQLCode:1146\n"
                       "SQL Standortbez. Ermitteln. SQLCode:1146\n"
                       "SQL Standortbez. Ermitteln. SQLCode:1146\n"
                       "SQL Standortbez. Ermitteln. SQLCode:1146\n"
                       "Ausweis 500: Buchungsklasse LONG nicht in Datei gestellt: M35BKL zu lang "
                       "(4 Zeichen, hoechstens 3)\n"
                       "SQL Standortbez. Ermitteln. SQLCode:1146\n"
                       "Ausweis 600: Buchungsklasse WIDE5 nicht in Datei gestellt: M35BKL zu lang "
                       "(5 Zeichen, hoechstens 3)\n"
                       "Ausweis ABCDEFGHIJKLMN nicht in Datei gestellt: AswNum zu lang (14 "
                       "Zeichen, hoechstens 13)\n"
                       "Ausweise gesamt: 7 davon in Datei gestellt: 4\n");

    WriterRun verbose = RunWriter(WriteMGDNL17P, "T17", true);
    EXPECT_EQ(verbose.file, expected);
    EXPECT_NE(verbose.out.find("Saldo Ermitteln. Pnr: P100 SQLCode:1146\n"
                               "Aws: 100 Zeitberechtigung: 1\n"
                               "SQL Standortbez. Ermitteln. SQLCode:1146\n"
                               "Saldo Ermitteln. Pnr: P200 SQLCode:1146\n"),
              std::string::npos)
        << verbose.out;
}

TEST_F(Mgdnl17pTest, WalkEndingInAnErrorPrintsTheErrorCode) {
    struct EndCase {
        const char *name;
        const char *fixture;
        int result;
        const char *out;
    };
    const EndCase cases[] = {
        {"no badges", "", 1, "Ausweise gesamt: 0 davon in Datei gestellt: 0\n"},
        // The badge statement fails, so the first fetch finds no result.
        {"badge statement fails", "DROP TABLE Orvadat.Orv113Awv;", 0,
         "Ausweise gesamt: 0 davon in Datei gestellt: 0\n"
         "FehlerCode EndWorkMgDnl17P: -1\n"},
    };
    for (const EndCase &c : cases) {
        SCOPED_TRACE(c.name);
        LoadFixture(c.fixture);
        WriterRun run = RunWriter(WriteMGDNL17P, "T17");
        EXPECT_EQ(run.result, c.result);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.file, "");
    }
}

TEST_F(Mgdnl17pTest, LostConnectionEndsTheWalkWithTheErrorCode) {
    // Statements: terminal, count, badges, then per badge the time accounts,
    // the time authorisation, the readers (for the first badge only), the
    // access statement and the location statement. Badge 100's statements are
    // 4 to 8, badge 200's 9 to 12.
    struct LostCase {
        long killBefore;
        const char *firstLine; // what the lookup that lost the connection prints
    };
    const LostCase cases[] = {
        {9, ""},
        {11, ""},
        {12, "SQL Standortbez\\. Ermitteln\\. SQLCode:(20[0-9][0-9])\n"},
    };
    for (const LostCase &c : cases) {
        SCOPED_TRACE("killed before statement " + std::to_string(c.killBefore));
        WriterRun run = RunWriterWithLostConnection(WriteMGDNL17P, "T17", c.killBefore);
        EXPECT_EQ(run.result, 0);
        std::string pattern = std::string(c.firstLine) +
                              "Verbindung zur Datenbank verloren! SQLCode:(20[0-9][0-9])\n"
                              "Ausweise gesamt: 2 davon in Datei gestellt: 1\n"
                              "FehlerCode EndWorkMgDnl17P: ([0-9]+)\n";
        std::smatch match;
        ASSERT_TRUE(std::regex_match(run.out, match, std::regex(pattern))) << run.out;
        EXPECT_EQ(match[match.size() - 1], match[match.size() - 2]) << "the lost connection's code";
        // Badge 100's two records stay; nothing of badge 200 is written.
        ASSERT_EQ(run.file.size(), 2 * kRecordLength);
        for (size_t at = 0; at < run.file.size(); at += kRecordLength) {
            EXPECT_EQ(run.file.substr(at, 13), "100          ");
        }
    }
}

} // namespace
