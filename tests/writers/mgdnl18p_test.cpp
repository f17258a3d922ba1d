#include "writers/mgdnl18p.h"

#include "support/test_db.h"
#include "support/writer_run.h"

#include <gtest/gtest.h>

#include <ctime>
#include <regex>
#include <string>
#include <vector>

namespace {

// Terminals T1 (7744-010), T2 (7598-002) and T3 (7744-011) share display set
// TS in language 1. Badges, in the order the walk delivers them:
//   1001            terminal set, balances and a long free text
//   1002            no personnel number
//   1003            no time authorisation
//   1004            two location rows: delivered twice
//   1005            own set OWN (language 2)
//   1006            own set OWN2 (language 2)
//   1007            no time-account row
//   12345678901234  a badge number longer than the record's 13 columns
// Definitions without a sequence number or beyond slot 8 exist in TS and OWN.
const char kFixture[] = R"sql(
    INSERT INTO Orvadat.Orv1140Trm (TrmNam, TRMMOD, TRMSAL, TrmSpr, TrmLiz, TrmMnd) VALUES
      ('T1', '7744-010', 'TS', 1, 1, 1), ('T2', '7598-002', 'TS', 1, 1, 1),
      ('T3', '7744-011', 'TS', 1, 1, 1);
    INSERT INTO Orvadat.MGSST35P (M35TRM, M35BKL, M35BCH) VALUES
      ('T1', 'Z', '1'), ('T2', 'Z', '1'), ('T3', 'Z', '1');
    INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo, AswPnr, AswSal, AswSpr) VALUES
      ('1001', CURDATE(), 'P1', NULL, 1), ('1002', CURDATE(), NULL, NULL, 1),
      ('1003', CURDATE(), 'P3', NULL, 1), ('1004', CURDATE(), 'P4', '', 1),
      ('1005', CURDATE(), 'P5', 'OWN', 2), ('1006', CURDATE(), 'P6', 'OWN2', 2),
      ('1007', CURDATE(), 'P7', NULL, 1), ('12345678901234', CURDATE(), 'P8', NULL, 1);
    INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto) VALUES
      ('1001', 1), ('1002', 1), ('1003', 1), ('1004', 1), ('1004', 2), ('1005', 1),
      ('1006', 1), ('1007', 1), ('12345678901234', 1);
    INSERT INTO Orvadat.Orv301Awb (AWBASW, AWBBKL) VALUES
      ('1001', 'Z'), ('1002', 'Z'), ('1003', 'X'), ('1004', 'Z'), ('1005', 'Z'), ('1006', 'Z'),
      ('1007', 'Z'), ('12345678901234', 'Z');
    INSERT INTO Orvadat.Orv102Whl (FtxNumSpr, FtxWhl, FtxSpr, FtxT50, FTXT10) VALUES
      (220001, 1, 1, 'Anzeige', NULL), (220001, 2, 1, 'Ma&#241;ana', NULL),
      (220001, 1, 2, 'Anzeige', NULL),
      (220002, 1, 1, NULL, '#W1'), (220002, 2, 1, NULL, '#W2'), (220002, 3, 1, NULL, '#W21'),
      (220002, 4, 1, NULL, '#W17'), (220002, 5, 1, NULL, '#W5'), (220002, 6, 1, NULL, '#W16'),
      (220002, 1, 2, NULL, '#W1'), (220002, 7, 2, NULL, '#W9'), (220002, 8, 2, NULL, '#W10'),
      (220002, 9, 2, NULL, '#W3'), (220002, 10, 2, NULL, '#W30'), (220002, 11, 2, NULL, '#W02');
    INSERT INTO Orvadat.Orv119Msd (MsdSal, MsdLfd, MsdSpl, MsdTxt, MsdAnz, MsdWrt, MsdMnd, MsdLiz)
    VALUES
      ('TS', NULL, 1, 'Ohne Nummer', 1, 1, 1, 1),
      ('TS', 1, NULL, 'Heutiges Datum', 1, 1, 1, 1),
      ('TS', 2, 2, 'Gleitzeit', 1, 2, 1, 1),
      ('TS', 3, 1, 'Frei', 1, 3, 1, 1),
      ('TS', 4, 1, '', 2, 4, 1, 1),
      ('TS', 5, 1, 'Datum', 1, 1, 1, 1),
      ('TS', 6, 2, 'Urlaub', 1, 5, 1, 1),
      ('TS', 7, 1, 'Ohne Code', 1, 99, 1, 1),
      ('TS', 8, 1, 'Resturlaub', 1, 6, 1, 1),
      ('TS', 9, 1, 'Neun', 1, 2, 1, 1),
      ('OWN', 1, 1, 'Eigenes', 1, 7, NULL, NULL),
      ('OWN', 3, 1, '', 1, 1, NULL, NULL),
      ('OWN', 5, 2, 'Zehn', 1, 8, NULL, NULL),
      ('OWN', 12, 1, 'Zwoelf', 1, 7, NULL, NULL),
      ('OWN2', 2, 1, 'Zweites', 1, 9, NULL, NULL),
      ('OWN2', 4, 1, 'Zehnter', 1, 10, NULL, NULL),
      ('OWN2', 5, 1, 'Null', 1, 11, NULL, NULL);
    INSERT INTO Orvadat.O2002TSW (TSWIDN, TswW02, TswW05, TswW16, TswF01) VALUES
      ('1001', '+  12,50', '#123,45', '-  7,00', 'Freitext fuer Ausweis 1001'),
      ('1004', '-   1,00', NULL, NULL, 'Kurz');
    INSERT INTO Orvadat.O2002TSW (TSWIDN, TswW03, TswW09, TswW10, TswF10) VALUES
      ('1005', NULL, '#  40,00', '+   8,00', NULL),
      ('1006', '#   3,00', NULL, NULL, 'Zehn');
)sql";

// The local date as the file shows it, "%d.%m.%y".
std::string LocalDate() {
    std::time_t now = std::time(nullptr);
    std::tm local;
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%d.%m.%y", &local);
    return text;
}

const std::string kEnye = "\xF1";
const std::string kEmptySlot(20, ' ');

// A slot of a 13-column label and a 7-column value.
std::string Slot(const std::string &label, const std::string &value) {
    EXPECT_EQ(label.size(), 13u) << "[" << label << "]";
    EXPECT_EQ(value.size(), 7u) << "[" << value << "]";
    return label + value;
}

// A record: the badge number in 13 columns, then eight slots of 20 columns.
std::string Record(const std::string &badge, const std::vector<std::string> &slots) {
    EXPECT_EQ(slots.size(), 8u);
    std::string record = badge + std::string(13 - badge.size(), ' ');
    for (const std::string &slot : slots) {
        EXPECT_EQ(slot.size(), 20u) << "[" << slot << "]";
        record += slot;
    }
    return record;
}

class Mgdnl18pTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        LoadFixture(kFixture);
    }

    // Runs the writer; the date is taken around the run, so a run across
    // midnight is recognised.
    WriterRun Run(const std::string &terminal, bool verbose = false) {
        std::string before = LocalDate();
        WriterRun run = RunWriter(WriteMGDNL18P, terminal, verbose);
        today = LocalDate();
        if (before != today) {
            ADD_FAILURE() << "the date changed during the run; run the test again";
        }
        return run;
    }

    // The records of the terminal set's badges.
    std::string Record1001() const {
        return Record("1001",
                      {
                          "Heutiges Dat" + today,           // date over the label's blank
                          Slot("Gleitzeit    ", " 12,50 "), // MsdSpl 2 does not shift slot 2
                          "Freitext fuer Auswei",           // #W21 over the label, cut to 20
                          Slot("Ma" + kEnye + "ana       ", "       "), // #W17 is no code
                          Slot("Datum        ", today.substr(0, 7)),    // second #W1
                          Slot(" Urlaub      ", "123,45 "), // shifted; balance without sign
                          Slot("Ohne Code    ", "       "), // no value code
                          Slot("Resturlaub   ", "  7,00-"),
                      });
    }
    std::string Record1004() const {
        return Record("1004", {
                                  "Heutiges Dat" + today,
                                  Slot("Gleitzeit    ", "  1,00-"),
                                  "Kurz                ",
                                  Slot("Ma" + kEnye + "ana       ", "       "),
                                  Slot("Datum        ", today.substr(0, 7)),
                                  Slot(" Urlaub      ", "       "),
                                  Slot("Ohne Code    ", "       "),
                                  Slot("Resturlaub   ", "       "),
                              });
    }
    // Labels and the date only: the badge has no time-account row.
    std::string Record1007() const {
        return Record("1007", {
                                  "Heutiges Dat" + today,
                                  Slot("Gleitzeit    ", "       "),
                                  Slot("Frei         ", "       "),
                                  Slot("Ma" + kEnye + "ana       ", "       "),
                                  Slot("Datum        ", today.substr(0, 7)),
                                  Slot(" Urlaub      ", "       "),
                                  Slot("Ohne Code    ", "       "),
                                  Slot("Resturlaub   ", "       "),
                              });
    }
    // Badge 1005 shown with the terminal's set.
    std::string Record1005WithTerminalSet() const {
        return Record("1005", {
                                  "Heutiges Dat" + today,
                                  Slot("Gleitzeit    ", "       "),
                                  Slot("Frei         ", "       "),
                                  Slot("Ma" + kEnye + "ana       ", "       "),
                                  Slot("Datum        ", today.substr(0, 7)),
                                  Slot(" Urlaub      ", "       "),
                                  Slot("Ohne Code    ", "       "),
                                  Slot("Resturlaub   ", "       "),
                              });
    }

    std::string today;
};

// Slots 5 to 8 as a 7598-002 terminal shows them.
std::string WithoutSlotsFiveToEight(const std::string &record) {
    return record.substr(0, 93) + std::string(80, ' ');
}

TEST_F(Mgdnl18pTest, WritesOneRecordPerBadgeFromItsDisplaySet) {
    WriterRun run = Run("T1");
    EXPECT_EQ(run.result, 1);
    const std::string expected =
        Record1001() + Record1004() +
        // Own set on 7744-010: a non-NULL empty MsdTxt blanks the label, the
        // date goes to the first #W1 slot wherever it is.
        Record("1005",
               {
                   Slot("Eigenes      ", " 40,00 "),
                   kEmptySlot,
                   "            " + today,
                   kEmptySlot,
                   Slot(" Zehn        ", "  8,00+"),
                   kEmptySlot,
                   kEmptySlot,
                   kEmptySlot,
               }) +
        // Only its own definitions, none of the previous badge's; #W02 is no code.
        Record("1006",
               {
                   kEmptySlot,
                   Slot("Zweites      ", "  3,00 "),
                   kEmptySlot,
                   "Zehn                ",
                   Slot("Null         ", "       "),
                   kEmptySlot,
                   kEmptySlot,
                   kEmptySlot,
               }) +
        Record1007();
    EXPECT_EQ(run.file, expected);
    ExpectWholeRecords(run.file, 5, 173);
    // Every delivered row counts as read: both rows of 1004 and the refused badge.
    EXPECT_EQ(run.out, "Ausweis 12345678901234 nicht in Datei gestellt: AswNum zu lang "
                       "(14 Zeichen, hoechstens 13)\n"
                       "Ausweise gesamt: 9 davon in Datei gestellt: 5\n");
}

TEST_F(Mgdnl18pTest, TerminalModelDecidesTheDisplaySetAndTheShownSlots) {
    struct ModelCase {
        const char *terminal;
        bool fourSlots;   // 7598-002 shows slots 1 to 4 only
        bool badgeOwnSet; // only 7744-010 shows a badge's own set
    };
    const ModelCase cases[] = {
        {"T1", false, true},
        {"T2", true, false},
        {"T3", false, false},
    };
    for (const ModelCase &c : cases) {
        SCOPED_TRACE(c.terminal);
        WriterRun run = Run(c.terminal);
        EXPECT_EQ(run.result, 1);
        ASSERT_EQ(run.file.size(), 173u * 5);
        std::string first = run.file.substr(0, 173);
        std::string third = run.file.substr(2 * 173, 173);
        EXPECT_EQ(first, c.fourSlots ? WithoutSlotsFiveToEight(Record1001()) : Record1001());
        if (c.badgeOwnSet) {
            EXPECT_EQ(third.substr(13, 13), "Eigenes      ");
        } else {
            std::string expected = Record1005WithTerminalSet();
            EXPECT_EQ(third, c.fourSlots ? WithoutSlotsFiveToEight(expected) : expected);
        }
    }
}

TEST_F(Mgdnl18pTest, VerboseNamesDefinitionsAndBadgesWithoutRecord) {
    WriterRun plain = Run("T1");
    WriterRun run = Run("T1", true);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.file, plain.file) << "verbose mode changes no record";
    const std::string wert = "Wert: " + std::string(7, ' ') + "  Txt: ";
    const std::string expected =
        "Anzeigedefinition mit laufender Nummer 0 ignoriert: nur 1 bis 8 moeglich\n" + wert +
        "Heutiges Dat   Con: #W1 !\n" + wert + "Gleitzeit      Con: #W2 !\n" + wert +
        "Frei           Con: #W21 !\n" + wert + "Ma" + kEnye + "ana         Con: #W17 !\n" + wert +
        "Datum          Con: #W1 !\n" + wert + "Urlaub         Con: #W5 !\n" + wert +
        "Ohne Code      Con:  !\n" + wert + "Resturlaub     Con: #W16 !\n" +
        "Anzeigedefinition mit laufender Nummer 9 ignoriert: nur 1 bis 8 moeglich\n"
        "Aws: 1001 Zeitberechtigung: 1\n"
        "Aws: 1002 Zeitberechtigung: 1\n"
        "Aws: 1003 Zeitberechtigung: 0\n"
        "Ausweis 1003 auf Terminal T1 nicht zulaessig!\n"
        "Aws: 1004 Zeitberechtigung: 1\n"
        "Aws: 1004 Zeitberechtigung: 1\n"
        "Aws: 1005 Zeitberechtigung: 1\n"
        "Anzeigedefinition mit laufender Nummer 12 ignoriert: nur 1 bis 8 moeglich\n"
        "Aws: 1006 Zeitberechtigung: 1\n"
        "Aws: 1007 Zeitberechtigung: 1\n"
        "Ausweis:1007 Person:P7 Saldodaten nicht gefunden! 1032\n"
        "Aws: 12345678901234 Zeitberechtigung: 1\n"
        "Ausweis 12345678901234 nicht in Datei gestellt: AswNum zu lang (14 Zeichen, "
        "hoechstens 13)\n"
        "Ausweise gesamt: 9 davon in Datei gestellt: 5\n";
    EXPECT_EQ(run.out, expected);
}

TEST_F(Mgdnl18pTest, LostConnectionEndsTheRunAsFailure) {
    // Statements: terminal, count, the terminal's definitions and one value
    // code for each of its ten definitions (3 to 13), badges (14), then per
    // badge its time authorisation, and for a written badge its time accounts;
    // 1005 opens its own set (23) and looks up its first value code (24).
    struct LostCase {
        long killBefore;
        int badgesRead;
        int recordsWritten;
    };
    const LostCase cases[] = {
        {5, 0, 0},  // while the terminal's definitions load
        {25, 6, 2}, // while badge 1005's own definitions load
        {28, 6, 2}, // at badge 1005's time accounts
    };
    for (const LostCase &c : cases) {
        SCOPED_TRACE(c.killBefore);
        WriterRun run = RunWriterWithLostConnection(WriteMGDNL18P, "T1", c.killBefore);
        today = LocalDate();
        EXPECT_EQ(run.result, 0);
        EXPECT_TRUE(std::regex_match(
            run.out, std::regex("Verbindung zur Datenbank verloren! SQLCode:20[0-9][0-9]\n"
                                "Ausweise gesamt: " +
                                std::to_string(c.badgesRead) + " davon in Datei gestellt: " +
                                std::to_string(c.recordsWritten) + "\n")))
            << run.out;
        std::string written = c.recordsWritten == 0 ? "" : Record1001() + Record1004();
        EXPECT_EQ(run.file, written);
    }
}

} // namespace
