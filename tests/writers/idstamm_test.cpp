#include "writers/idstamm.h"

#include "lookup/access.h"
#include "support/test_db.h"
#include "support/writer_run.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>

namespace {

// Badges on terminal T1 (display set TSET, walks all badges):
//   100   time authorisation only, no display set of its own
//   200   three access items with priorities 9, 5, 1 and its own set
//   300   neither authorisation
//   400   two location rows: delivered twice
//   50'0  a quote in the badge number, time authorisation only
//   6\0   a backslash in the badge number, time authorisation only
//   700   a double quote in its PIN
const char kFixture[] =
    "INSERT INTO Orvadat.Orv1140Trm (TrmNam, TRMMOD, TRMSAL) VALUES "
    "  ('T1', '7744-010', 'TSET'), ('T2', '7744-010', 'ABCDEFGHIJKL');"
    "INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo, AswGbi, AswPnr, AswBkl, AswAtp, AswSal, "
    "  AswSpr, AswPin) VALUES "
    "  ('100', CURDATE() - INTERVAL 1 DAY, NULL, '000000000777', 'T', 3, NULL, 2, '1234'),"
    "  ('200', NULL, CURDATE() + INTERVAL 1 DAY, '123456', 'A', NULL, 'OWN', NULL, NULL),"
    "  ('300', CURDATE(), CURDATE(), NULL, 'T', 1, NULL, 1, NULL),"
    "  ('400', CURDATE(), NULL, NULL, 'T', 1, NULL, 1, NULL),"
    "  ('50''0', CURDATE(), NULL, NULL, 'T', 1, NULL, 1, NULL),"
    "  ('6\\\\0', CURDATE(), NULL, NULL, 'T', 1, NULL, 1, NULL),"
    "  ('700', CURDATE(), NULL, NULL, 'T', 1, NULL, 1, 'x\"y');"
    "INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto) VALUES "
    "  ('100', 12345), ('200', NULL), ('300', 1), ('400', 12300000), ('400', 5), ('50''0', 7),"
    "  ('6\\\\0', 8), ('700', 9);"
    "INSERT INTO Orvadat.Orv301Awb (AWBASW, AWBBKL, AWBZUV) VALUES "
    "  ('100', 'T', 1), ('200', 'B', 5), ('200', 'A', 9), ('200', 'C', 1), ('300', 'Z', 1),"
    "  ('400', 'T', 1), ('50''0', 'T', 1), ('6\\\\0', 'T', 1), ('700', 'T', 1);"
    "INSERT INTO Orvadat.MGSST35P (M35TRM, M35BKL, M35LES, M35BCH) VALUES "
    "  ('T1', 'T', '01', '1'), ('T1', 'A', '01', '0'), ('T1', 'B', '02', '0'),"
    "  ('T1', 'C', '03', '0'), ('T2', 'T', '01', '1');";

class IdstammTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        LoadFixture(kFixture);
        yesterday_ = QueryValue("SELECT DATE_FORMAT(CURDATE() - INTERVAL 1 DAY, '%Y%m%d')");
        today_ = QueryValue("SELECT DATE_FORMAT(CURDATE(), '%Y%m%d')");
        tomorrow_ = QueryValue("SELECT DATE_FORMAT(CURDATE() + INTERVAL 1 DAY, '%Y%m%d')");
    }
    static std::string today_, yesterday_, tomorrow_;
};

std::string IdstammTest::today_;
std::string IdstammTest::yesterday_;
std::string IdstammTest::tomorrow_;

std::string Line(const std::string &fields) {
    return fields + "\r\n";
}

TEST_F(IdstammTest, WritesOneQuotedLinePerBadgeAndAccessItem) {
    WriterRun run = RunWriter(WriteIDSTAMM, "T1");
    EXPECT_EQ(run.result, 1);
    const std::string t = today_;
    std::string expected =
        // Field 4 from the 4th character, field 8 from the terminal, field 11
        // from the 10th character of the personnel number.
        Line(R"("100",")" + yesterday_ +
             R"(","","12345","1","0","2","TSET","001","T  ","777","100","3","1234")") +
        // Access items in descending priority; no dates as two quotes, empty
        // location and personnel tail.
        Line(R"("200","",")" + tomorrow_ +
             R"(","","0","1","1","OWN","001","A  ","","200","0","")") +
        Line(R"("200","",")" + tomorrow_ +
             R"(","","0","1","1","OWN","001","B  ","","200","0","")") +
        Line(R"("200","",")" + tomorrow_ +
             R"(","","0","1","1","OWN","001","C  ","","200","0","")") +
        // Delivered twice; 12300000 ends in five zeros and gives an empty field.
        Line(R"("400",")" + t + R"(","","","1","0","1","TSET","001","T  ","","400","1","")") +
        Line(R"("400",")" + t + R"(","","00005","1","0","1","TSET","001","T  ","","400","1","")") +
        Line(R"("50'0",")" + t +
             R"(","","00007","1","0","1","TSET","001","T  ","","50'0","1","")") +
        Line(R"("6\0",")" + t + R"(","","00008","1","0","1","TSET","001","T  ","","6\0","1","")");
    // The two rows of badge 400 differ only in their location; the statement
    // does not order them.
    std::string row400a =
        Line(R"("400",")" + t + R"(","","","1","0","1","TSET","001","T  ","","400","1","")");
    std::string row400b =
        Line(R"("400",")" + t + R"(","","00005","1","0","1","TSET","001","T  ","","400","1","")");
    std::string swapped = expected;
    swapped.replace(swapped.find(row400a), row400a.size() + row400b.size(), row400b + row400a);
    EXPECT_TRUE(run.file == expected || run.file == swapped) << run.file;
    EXPECT_EQ(run.out, "Ausweis 700 nicht in Datei gestellt: AswPin enthaelt Anfuehrungszeichen "
                       "oder Zeilenumbruch\n"
                       "Ausweise gesamt: 8 davon in Datei gestellt: 6\n");
}

TEST_F(IdstammTest, VerboseNamesEveryBadgeWithoutAuthorisation) {
    WriterRun run = RunWriter(WriteIDSTAMM, "T1", true);
    EXPECT_EQ(run.result, 1);
    std::string out = run.out;
    EXPECT_NE(out.find("Aws: 300 Zeitberechtigung: 0\n"
                       "Ausweis 300 ohne Zeit-/Zutrittsberechtigung auf Terminal T1\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("Aws: 100 Zeitberechtigung: 1\nAws: 200 Zeitberechtigung: 0\n"),
              std::string::npos)
        << out;
}

TEST_F(IdstammTest, LongTerminalDisplaySetIsCarriedWhole) {
    WriterRun run = RunWriter(WriteIDSTAMM, "T2");
    EXPECT_EQ(run.result, 1);
    std::string first = run.file.substr(0, run.file.find("\r\n") + 2);
    EXPECT_EQ(
        first,
        Line(R"("100",")" + yesterday_ +
             R"(","","12345","1","0","2","ABCDEFGHIJKL","001","T  ","777","100","3","1234")"));
}

TEST_F(IdstammTest, LostConnectionEndsTheWalkAsFailure) {
    // Statements: terminal, count, badges, then two per badge; the kill comes
    // before the access statement of the second badge.
    WriterRun run = RunWriterWithLostConnection(WriteIDSTAMM, "T1", 7);
    EXPECT_EQ(run.result, 0);
    EXPECT_TRUE(std::regex_match(
        run.out, std::regex("Verbindung zur Datenbank verloren! SQLCode:20[0-9][0-9]\n"
                            "Ausweise gesamt: 2 davon in Datei gestellt: 1\n")))
        << run.out;
    EXPECT_EQ(run.file.substr(0, 6), "\"100\",") << "lines written before stay";
    EXPECT_EQ(run.file.find("\"200\""), std::string::npos);
}

void *FailingResize(void *, size_t) {
    return nullptr;
}

TEST_F(IdstammTest, AccessListThatCannotGrowEndsTheRunWithoutWritingTheBadge) {
    WriterRun run =
        RunWriterInChild(WriteIDSTAMM, "T1", [] { AccessStorageResize = FailingResize; });
    EXPECT_EQ(run.result, 0);
    // Badge 100 has no access item and is written; badge 200's first item
    // cannot be stored.
    EXPECT_EQ(run.out, "Fehler beim allokieren von Speicher"
                       "Ausweise gesamt: 2 davon in Datei gestellt: 1\n");
    EXPECT_EQ(run.file.find("\"200\""), std::string::npos);
    EXPECT_EQ(run.file.substr(0, 6), "\"100\",");
}

// Badges with many access items on terminal TM: the lines of a badge are
// either all written, in descending priority, or none of them.
TEST(IdstammManyLinesTest, EveryLineOfABadgeOrNone) {
    LoadFixture(R"sql(
        INSERT INTO Orvadat.Orv1140Trm (TrmNam, TRMMOD, TRMSAL) VALUES ('TM', '7700-001', 'TS');
        INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo, AswAtp, AswSpr) VALUES
          ('FEW', CURDATE(), 1, 1), ('FEWBAD', CURDATE(), 1, 1),
          ('MANY', CURDATE(), 1, 1), ('MANYBAD', CURDATE(), 1, 1);
        INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto) VALUES
          ('FEW', 5), ('FEWBAD', 5), ('MANY', 5), ('MANYBAD', 5);
        INSERT INTO Orvadat.MGSST35P (M35TRM, M35BKL, M35LES, M35BCH)
          SELECT 'TM', CONCAT('K', LPAD(seq, 3, '0')), '01', '0' FROM seq_1_to_150;
        INSERT INTO Orvadat.MGSST35P (M35TRM, M35BKL, M35LES, M35BCH) VALUES ('TM', 'K"1', '01', '0');
        INSERT INTO Orvadat.Orv301Awb (AWBASW, AWBBKL, AWBZUV)
          SELECT 'FEW', CONCAT('K', LPAD(seq, 3, '0')), seq FROM seq_1_to_3;
        INSERT INTO Orvadat.Orv301Awb (AWBASW, AWBBKL, AWBZUV)
          SELECT 'MANY', CONCAT('K', LPAD(seq, 3, '0')), seq FROM seq_1_to_150;
        INSERT INTO Orvadat.Orv301Awb (AWBASW, AWBBKL, AWBZUV)
          SELECT 'MANYBAD', CONCAT('K', LPAD(seq, 3, '0')), seq FROM seq_1_to_150;
        INSERT INTO Orvadat.Orv301Awb (AWBASW, AWBBKL, AWBZUV) VALUES
          ('FEWBAD', 'K001', 2), ('FEWBAD', 'K"1', 1), ('MANYBAD', 'K"1', 0);
    )sql");
    const std::string today = QueryValue("SELECT DATE_FORMAT(CURDATE(), '%Y%m%d')");
    auto lines = [&](const std::string &badge, int classes) {
        std::string text;
        for (int n = classes; n >= 1; --n) {
            std::string bookingClass = std::to_string(n);
            bookingClass = "K" + std::string(3 - bookingClass.size(), '0') + bookingClass;
            text += Line("\"" + badge + "\",\"" + today +
                         "\",\"\",\"00005\",\"0\",\"1\",\"1\","
                         "\"TS\",\"001\",\"" +
                         bookingClass + "\",\"\",\"" + badge + "\",\"1\",\"\"");
        }
        return text;
    };
    WriterRun run = RunWriter(WriteIDSTAMM, "TM");
    EXPECT_EQ(run.result, 1);
    // 150 lines are more than a badge's lines kept from the check to the write.
    EXPECT_EQ(run.file, lines("FEW", 3) + lines("MANY", 150));
    EXPECT_EQ(run.out, "Ausweis FEWBAD nicht in Datei gestellt: M35BKL enthaelt "
                       "Anfuehrungszeichen oder Zeilenumbruch\n"
                       "Ausweis MANYBAD nicht in Datei gestellt: M35BKL enthaelt "
                       "Anfuehrungszeichen oder Zeilenumbruch\n"
                       "Ausweise gesamt: 4 davon in Datei gestellt: 2\n");
    EndGeneratorTransaction();
}

TEST_F(IdstammTest, FormatRefusesQuotesAndLineBreaksInAnyField) {
    BadgeRecord badge = {};
    std::memcpy(badge.AswNum, "1", 2);
    std::memcpy(badge.AwvSto, "00012345", 9);
    char line[1024];
    const char *badField = nullptr;
    for (const char *bad : {"a\"b", "a\rb", "a\nb"}) {
        EXPECT_EQ(FormatIDSTAMMLine(&badge, bad, "A  ", line, sizeof line, &badField), 0u);
        EXPECT_STREQ(badField, "AswSal");
        EXPECT_EQ(FormatIDSTAMMLine(&badge, "S", bad, line, sizeof line, &badField), 0u);
        EXPECT_STREQ(badField, "M35BKL");
    }
    // Long fields are written whole: no cut at 255 characters.
    std::memset(badge.AswPnr, 'P', sizeof badge.AswPnr - 1);
    std::memset(badge.AswPin, 'N', sizeof badge.AswPin - 1);
    std::memset(badge.AswAtp, '9', sizeof badge.AswAtp - 1);
    std::memset(badge.AswNum, '1', sizeof badge.AswNum - 1);
    size_t length = FormatIDSTAMMLine(&badge, "S", "A  ", line, sizeof line, &badField);
    EXPECT_GT(length, 255u);
    EXPECT_EQ(std::string(line + length - 3, 3), "\"\r\n");
}

} // namespace
