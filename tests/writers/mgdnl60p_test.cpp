#include "writers/mgdnl60p.h"

#include "support/test_db.h"
#include "support/writer_run.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

// Terminal T60 has the active readers 1, 3 and 5 (reader 2 has status 4).
// Badges:
//   100   two rows; time authorisation, classes A and B (priorities 9, 5);
//         TswW09 "+  3,25" (TswW02 is not this file's balance)
//   200   time authorisation only; TswW09 "#  1,00"
//   300   class C only; no time-account row; no first day
//   400   neither authorisation
//   500   LONG (four characters, priority 9) and E; TswW09 "-1"
//   600   only WIDE5 (five characters)
//   ABCDEFGHIJKLMN  fourteen characters, time authorisation
const char kFixture[] = R"sql(
    INSERT INTO Orvadat.Orv1140Trm (TrmNam, TRMMOD, TRMSAL) VALUES ('T60', '7744-010', 'S');
    INSERT INTO Orvadat.Orv401Zls (ZlsTrm, ZlsLes, ZlsSta) VALUES
      ('T60', 1, NULL), ('T60', 2, 4), ('T60', 3, NULL), ('T60', 5, NULL);
    INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo, AswGbi, AswPnr) VALUES
      ('100', CURDATE() - INTERVAL 1 DAY, NULL, 'P100'),
      ('200', CURDATE() - INTERVAL 1 DAY, NULL, 'P200'),
      ('300', NULL, CURDATE() + INTERVAL 1 DAY, 'P300'),
      ('400', CURDATE() - INTERVAL 1 DAY, NULL, 'P400'),
      ('500', CURDATE() - INTERVAL 1 DAY, NULL, 'P500'),
      ('600', CURDATE() - INTERVAL 1 DAY, NULL, 'P600'),
      ('ABCDEFGHIJKLMN', CURDATE() - INTERVAL 1 DAY, NULL, 'PLONG');
    INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto) VALUES
      ('100', 1), ('100', 2), ('200', 1), ('300', 1), ('400', 1), ('500', 1), ('600', 1),
      ('ABCDEFGHIJKLMN', 1);
    INSERT INTO Orvadat.O2002TSW (TSWIDN, TswW02, TswW09) VALUES
      ('100', '-999', '+  3,25'), ('200', '+1', '#  1,00'), ('500', NULL, '-1');
    INSERT INTO Orvadat.Orv301Awb (AWBASW, AWBBKL, AWBZUV) VALUES
      ('100', 'T', 1), ('100', 'B', 5), ('100', 'A', 9), ('200', 'T', 1), ('300', 'C', 3),
      ('400', 'Z', 1), ('500', 'E', 1), ('500', 'LONG', 9), ('600', 'WIDE5', 1),
      ('ABCDEFGHIJKLMN', 'T', 1);
    INSERT INTO Orvadat.MGSST35P (M35TRM, M35BKL, M35LES, M35BCH) VALUES
      ('T60', 'T', '01', '1'), ('T60', 'A', '01', '0'), ('T60', 'B', '03', '0'),
      ('T60', 'C', '01', '0'), ('T60', 'LONG', '01', '0'), ('T60', 'E', '01', '0'),
      ('T60', 'WIDE5', '01', '0');
)sql";

constexpr size_t kRecordLength = 45;

class Mgdnl60pTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        LoadFixture(kFixture);
        yesterday_ = QueryValue("SELECT DATE_FORMAT(CURDATE() - INTERVAL 1 DAY, '%Y%m%d')");
    }
    static std::string yesterday_;
};

std::string Mgdnl60pTest::yesterday_;

TEST_F(Mgdnl60pTest, WritesEveryBadgeRow) {
    WriterRun run = RunWriter(WriteMGDNL60P, "T60");
    EXPECT_EQ(run.result, 1);
    const std::string &from = yesterday_;
    // badge number  from  TA balance   r1     r2     r3
    const std::string badge100 = "100          " + from + "11" + "  3,25+" + "01A  " + "     " +
                                 "03A  " + "100          " + from + "11" + "  3,25+" + "01B  " +
                                 "     " + "03B  ";
    const std::string expected =
        // Both rows of badge 100 give their records.
        badge100 + badge100 +
        // A "#" sign is left out: column 30 stays blank.
        "200          " + from + "10" + "  1,00 " + "     " + "     " + "     " +
        // No time-account row: seven blanks.
        "300          " + "00000000" + "01" + "       " + "01C  " + "     " + "03C  " +
        // LONG is refused, E written.
        "500          " + from + "01" + "     1-" + "01E  " + "     " + "03E  ";
    EXPECT_EQ(run.file, expected);
    ExpectWholeRecords(run.file, 7, kRecordLength);
    EXPECT_EQ(run.out, "Ausweis 500: Buchungsklasse LONG nicht in Datei gestellt: M35BKL zu lang "
                       "(4 Zeichen, hoechstens 3)\n"
                       "Ausweis 600: Buchungsklasse WIDE5 nicht in Datei gestellt: M35BKL zu lang "
                       "(5 Zeichen, hoechstens 3)\n"
                       "Ausweis ABCDEFGHIJKLMN nicht in Datei gestellt: AswNum zu lang (14 "
                       "Zeichen, hoechstens 13)\n"
                       "Ausweise gesamt: 8 davon in Datei gestellt: 5\n");
}

TEST_F(Mgdnl60pTest, VerbosePrintsNoTimeAccountLine) {
    WriterRun run = RunWriter(WriteMGDNL60P, "T60", true);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.out, "Aws: 100 Zeitberechtigung: 1\n"
                       "Aws: 100 Zeitberechtigung: 1\n"
                       "Aws: 200 Zeitberechtigung: 1\n"
                       "Aws: 300 Zeitberechtigung: 0\n"
                       "Aws: 400 Zeitberechtigung: 0\n"
                       "Ausweis 400 ohne Zeit-/Zutrittsberechtigung auf Terminal T60\n"
                       "Aws: 500 Zeitberechtigung: 0\n"
                       "Ausweis 500: Buchungsklasse LONG nicht in Datei gestellt: M35BKL zu lang "
                       "(4 Zeichen, hoechstens 3)\n"
                       "Aws: 600 Zeitberechtigung: 0\n"
                       "Ausweis 600: Buchungsklasse WIDE5 nicht in Datei gestellt: M35BKL zu lang "
                       "(5 Zeichen, hoechstens 3)\n"
                       "Aws: ABCDEFGHIJKLMN Zeitberechtigung: 1\n"
                       "Ausweis ABCDEFGHIJKLMN nicht in Datei gestellt: AswNum zu lang (14 "
                       "Zeichen, hoechstens 13)\n"
                       "Ausweise gesamt: 8 davon in Datei gestellt: 5\n");
}

TEST_F(Mgdnl60pTest, LostConnectionEndsTheWalkAsFailure) {
    // Statements: terminal, count, badges, then per row the time accounts,
    // the time authorisation, the readers (for the first row only) and the
    // access statement. The second row of badge 100 runs statements 8 to 10.
    for (long killBefore : {8L, 10L}) {
        SCOPED_TRACE("killed before statement " + std::to_string(killBefore));
        WriterRun run = RunWriterWithLostConnection(WriteMGDNL60P, "T60", killBefore);
        EXPECT_EQ(run.result, 0);
        EXPECT_TRUE(std::regex_match(
            run.out, std::regex("Verbindung zur Datenbank verloren! SQLCode:20[0-9][0-9]\n"
                                "Ausweise gesamt: 2 davon in Datei gestellt: 1\n")))
            << run.out;
        // The first row's two records stay.
        ASSERT_EQ(run.file.size(), 2 * kRecordLength);
        for (size_t at = 0; at < run.file.size(); at += kRecordLength) {
            EXPECT_EQ(run.file.substr(at, 13), "100          ");
        }
    }
}

} // namespace
