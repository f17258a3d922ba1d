#include "writers/mgdnl31p.h"

#include "support/test_db.h"
#include "support/writer_run.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

// Badges on terminal T31 (locations: 1 "Werkhalle", 2 "EG"):
//   100            time authorisation; access classes A, B, C (priorities 9, 5, 1);
//                  no last day of validity; location 1
//   200            class D on two readers; no first day; no location row
//   300            time authorisation only
//   500            LONG (four characters, priority 9) and E; location 2
//   600            only WIDE5 (five characters)
//   700            class E, delivered twice (two location links)
//   ABCDEFGHIJKLM  thirteen characters: fits
//   ABCDEFGHIJKLMN fourteen characters: refused
const char kFixture[] = R"sql(
    INSERT INTO Orvadat.Orv1140Trm (TrmNam, TRMMOD, TRMSAL) VALUES ('T31', '7744-010', 'S');
    INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo, AswGbi) VALUES
      ('100', CURDATE() - INTERVAL 1 DAY, NULL),
      ('200', NULL, CURDATE() + INTERVAL 1 DAY),
      ('300', CURDATE() - INTERVAL 1 DAY, NULL),
      ('500', CURDATE() - INTERVAL 1 DAY, CURDATE() + INTERVAL 1 DAY),
      ('600', CURDATE() - INTERVAL 1 DAY, NULL),
      ('700', CURDATE() - INTERVAL 1 DAY, NULL),
      ('ABCDEFGHIJKLM', CURDATE() - INTERVAL 1 DAY, NULL),
      ('ABCDEFGHIJKLMN', CURDATE() - INTERVAL 1 DAY, NULL);
    INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto) VALUES
      ('100', 1), ('200', 99), ('300', 1), ('500', 2), ('600', 1), ('700', 1), ('700', 1),
      ('ABCDEFGHIJKLM', 1), ('ABCDEFGHIJKLMN', 1);
    INSERT INTO Orvadat.Orv113Sto (StoNum, StoKtx) VALUES (1, 'Werkhalle'), (2, 'EG');
    INSERT INTO Orvadat.Orv301Awb (AWBASW, AWBBKL, AWBZUV) VALUES
      ('100', 'T', 1), ('100', 'B', 5), ('100', 'A', 9), ('100', 'C', 1),
      ('200', 'D', 4), ('300', 'T', 1), ('500', 'E', 1), ('500', 'LONG', 9),
      ('600', 'WIDE5', 1), ('700', 'E', 2), ('ABCDEFGHIJKLM', 'A', 1),
      ('ABCDEFGHIJKLMN', 'A', 1);
    INSERT INTO Orvadat.MGSST35P (M35TRM, M35BKL, M35LES, M35BCH) VALUES
      ('T31', 'T', '01', '1'), ('T31', 'A', '01', '0'), ('T31', 'B', '01', '0'),
      ('T31', 'C', '02', '0'), ('T31', 'D', '01', '0'), ('T31', 'D', '02', '0'),
      ('T31', 'LONG', '01', '0'), ('T31', 'E', '01', '0'), ('T31', 'WIDE5', '01', '0');
)sql";

constexpr size_t kRecordLength = 48;

class Mgdnl31pTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        LoadFixture(kFixture);
        yesterday_ = QueryValue("SELECT DATE_FORMAT(CURDATE() - INTERVAL 1 DAY, '%Y%m%d')");
        tomorrow_ = QueryValue("SELECT DATE_FORMAT(CURDATE() + INTERVAL 1 DAY, '%Y%m%d')");
    }
    static std::string yesterday_, tomorrow_;
};

std::string Mgdnl31pTest::yesterday_;
std::string Mgdnl31pTest::tomorrow_;

TEST_F(Mgdnl31pTest, WritesOneRecordPerAccessItem) {
    WriterRun run = RunWriter(WriteMGDNL31P, "T31");
    EXPECT_EQ(run.result, 1);
    const std::string &from = yesterday_;
    const std::string &until = tomorrow_;
    const std::string expected =
        // badge number  from       until      TA  constant  001 class location
        // In priority order; no last day gives eight zeros.
        "100          " + from + "00000000" + "11" + "XXXX,XX-" + "001" + "A  " + "Wer" +
        "100          " + from + "00000000" + "11" + "XXXX,XX-" + "001" + "B  " + "Wer" +
        "100          " + from + "00000000" + "11" + "XXXX,XX-" + "001" + "C  " + "Wer" +
        // One class on two readers: two identical records; no location row.
        "200          " + "00000000" + until + "01" + "XXXX,XX-" + "001" + "D  " + "   " +
        "200          " + "00000000" + until + "01" + "XXXX,XX-" + "001" + "D  " + "   " +
        // LONG is refused, E written.
        "500          " + from + until + "01" + "XXXX,XX-" + "001" + "E  " + "EG " +
        // Every row of the badge walk is written, also a repeated one.
        "700          " + from + "00000000" + "01" + "XXXX,XX-" + "001" + "E  " + "Wer" +
        "700          " + from + "00000000" + "01" + "XXXX,XX-" + "001" + "E  " + "Wer" +
        "ABCDEFGHIJKLM" + from + "00000000" + "01" + "XXXX,XX-" + "001" + "A  " + "Wer";
    EXPECT_EQ(run.file, expected);
    ExpectWholeRecords(run.file, 9, kRecordLength);
    // Rows read, badges written: 300 has no access profile, 600 only a
    // refused class, the fourteen-character badge number is refused.
    EXPECT_EQ(run.out, "Ausweis 500: Buchungsklasse LONG nicht in Datei gestellt: M35BKL zu lang "
                       "(4 Zeichen, hoechstens 3)\n"
                       "Ausweis 600: Buchungsklasse WIDE5 nicht in Datei gestellt: M35BKL zu lang "
                       "(5 Zeichen, hoechstens 3)\n"
                       "Ausweis ABCDEFGHIJKLMN nicht in Datei gestellt: AswNum zu lang (14 "
                       "Zeichen, hoechstens 13)\n"
                       "Ausweise gesamt: 9 davon in Datei gestellt: 6\n");
}

TEST_F(Mgdnl31pTest, VerboseNamesBadgeWithoutAccessProfile) {
    WriterRun run = RunWriter(WriteMGDNL31P, "T31", true);
    EXPECT_EQ(run.result, 1);
    EXPECT_NE(run.out.find("Aws: 300 Zeitberechtigung: 1\n"
                           "Ausweis 300 ohne Zutrittsberechtigung auf Terminal T31\n"
                           "Aws: 500 Zeitberechtigung: 0\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("Ausweis 100 ohne"), std::string::npos);
    EXPECT_EQ(run.file.size(), 9 * kRecordLength);
}

TEST_F(Mgdnl31pTest, LostConnectionEndsTheWalkWithoutTheBadgeInProgress) {
    // Statements: terminal, count, badges, then per badge the time
    // authorisation, the access statement and the location statement. Badge
    // 200's statements are 7, 8 and 9.
    for (long killBefore : {7L, 8L, 9L}) {
        SCOPED_TRACE("killed before statement " + std::to_string(killBefore));
        WriterRun run = RunWriterWithLostConnection(WriteMGDNL31P, "T31", killBefore);
        EXPECT_EQ(run.result, 0);
        EXPECT_TRUE(std::regex_match(
            run.out, std::regex("Verbindung zur Datenbank verloren! SQLCode:20[0-9][0-9]\n"
                                "Ausweise gesamt: 2 davon in Datei gestellt: 1\n")))
            << run.out;
        // Badge 100's records stay; none of badge 200 is written.
        ASSERT_EQ(run.file.size(), 3 * kRecordLength);
        for (size_t at = 0; at < run.file.size(); at += kRecordLength) {
            EXPECT_EQ(run.file.substr(at, 13), "100          ");
        }
    }
}

} // namespace
