#include "lookup/messages.h"

#include "lookup_test_support.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

class MessagesTest : public LookupTest {
  protected:
    void TearDown() override {
        CloseTerminalMessages();
        CloseBadgeMessages();
        LookupTest::TearDown();
    }
};

// The letter n with tilde, as DecodeLabelText writes it.
const std::string kEnye = "\xF1";

TEST(DecodeLabelTextTest, ReplacesTheFirstEntityThenCutsToTwelve) {
    struct DecodeCase {
        const char *text;
        std::string decoded;
    };
    const DecodeCase cases[] = {
        {"Espa&#241;a", "Espa" + kEnye + "a"},
        {"ABCDEFGHIJKLMNOPQ", "ABCDEFGHIJKL"},
        {"&#241;BCDEFGHIJKL", kEnye + "BCDEFGHIJKL"},
        // Only the first entity is decoded; the second is cut at the 12th character.
        {"AB&#241;CD&#241;EF", "AB" + kEnye + "CD&#241;E"},
        // The decoded text is cut, not the text before decoding.
        {"ABCDEFGHIJK&#241;", "ABCDEFGHIJK" + kEnye},
        {"ABCDEFGHIJKL&#241;", "ABCDEFGHIJKL"},
        {"Espa&#241", "Espa&#241"},
        {"Saldo", "Saldo"},
        {"", ""},
    };
    for (const DecodeCase &c : cases) {
        SCOPED_TRACE(c.text);
        char text[32];
        ASSERT_TRUE(CopyText(text, sizeof text, c.text));
        DecodeLabelText(text);
        EXPECT_EQ(text, c.decoded);
    }
}

// Terminal T1 (set TS, language 1, client 1/1) and badge B1 (set OWN,
// language 2). Labels come from choice list 220001 by MsdAnz, value codes
// from list 220002 by MsdWrt; MsdWrt 9 has no text in either language.
const char *const kMessageFixture = R"sql(
    INSERT INTO Orvadat.Orv1140Trm (TrmNam, TRMMOD, TRMSAL, TrmSpr, TrmLiz, TrmMnd) VALUES
      ('T1', '7744-010', 'TS', 1, 1, 1);
    INSERT INTO Orvadat.Orv301Asw (AswNum, AswSal, AswSpr, AswSta) VALUES
      ('B1', 'OWN', 2, NULL), ('GONE', 'OWN', 2, 4), ('PLAIN', NULL, 2, NULL);
    INSERT INTO Orvadat.Orv102Whl (FtxNumSpr, FtxWhl, FtxSpr, FtxT50, FTXT10) VALUES
      (220001, 1, 1, 'Espa&#241;a', NULL), (220001, 1, 2, 'Espa&#241;a', NULL),
      (220001, 2, 1, 'ABCDEFGHIJKLMNOPQRSTUV', NULL), (220001, 2, 2, 'ABCDEFGHIJKLMNOPQRSTUV', NULL),
      (220001, 3, 1, '&#241;BCDEFGHIJKLMNOPQ', NULL),
      (220001, 4, 1, 'AB&#241;CD&#241;EF', NULL),
      (220001, 5, 1, 'Urlaub', NULL), (220001, 5, 2, 'Urlaub', NULL),
      (220001, 6, 1, NULL, NULL),
      (220002, 1, 1, NULL, '#W2   '), (220002, 1, 2, NULL, '#W3'),
      (220002, 2, 1, NULL, NULL),
      (220002, 3, 1, NULL, '#W21'),
      (220002, 4, 1, NULL, '#W2ABCDEFGHIJ');
    INSERT INTO Orvadat.Orv119Msd
      (MsdSal, MsdLfd, MsdSpl, MsdTxt, MsdAnz, MsdWrt, MsdMnd, MsdLiz, MSDERF, MsdSta) VALUES
      ('TS', 1, NULL, NULL, 1, 1, 1, 1, NULL, NULL),
      ('TS', 2, 2, NULL, 2, 3, 1, 1, NULL, 0),
      ('TS', 3, 0, NULL, 3, 9, 1, 1, NULL, NULL),
      ('TS', 4, 1, '', 4, 2, 1, 1, NULL, NULL),
      ('TS', 5, 1, 'Saldo', 5, 4, 1, 1, NULL, NULL),
      ('TS', 6, 1, '   ', 5, 1, 1, 1, NULL, NULL),
      ('TS', 7, 1, NULL, 6, NULL, 1, 1, NULL, NULL),
      ('TS', 8, 1, NULL, 5, 1, 7, 7, 'KORVALD', NULL),
      ('TS', NULL, 1, NULL, 5, 1, 1, 1, NULL, NULL),
      ('TS', 9, 1, NULL, 5, 1, 1, 1, NULL, NULL),
      ('TS', 3, 1, 'Fremd', 5, 1, 2, 1, NULL, NULL),
      ('TS', 1, 1, 'Geloescht', 5, 3, 1, 1, NULL, 4),
      ('TS', 2, 1, 'Geloescht', 5, 1, 1, 1, NULL, 8),
      ('OWN', 1, NULL, NULL, 1, 1, NULL, NULL, NULL, NULL),
      ('OWN', 2, 2, '', 5, 1, NULL, NULL, NULL, NULL),
      ('OWN', 3, 1, 'Saldo', 5, 1, NULL, NULL, NULL, NULL),
      ('OWN', 4, 1, '   ', 5, 1, NULL, NULL, NULL, NULL),
      ('OWN', 5, 1, NULL, 2, 9, NULL, NULL, NULL, NULL),
      ('OWN', 6, 1, 'Ende', 5, 1, NULL, NULL, NULL, 8);
)sql";

struct ExpectedEntry {
    int MsdLfd;
    int MsdSpl;
    std::string Txt;
    std::string Con;
};

const char kBlankLabel[] = "             ";

// Fetches until a non-zero status, always into the same entry as the writer
// does. Each delivered entry must carry seven blanks as its value.
std::vector<ExpectedEntry> FetchAll(int (*fetch)(MessageEntry *), int *lastStatus) {
    std::vector<ExpectedEntry> delivered;
    MessageEntry entry = {};
    while ((*lastStatus = fetch(&entry)) == 0) {
        EXPECT_STREQ(entry.Wert, "       ");
        delivered.push_back({entry.MsdLfd, entry.MsdSpl, entry.Txt, entry.Con});
    }
    return delivered;
}

void ExpectEntries(const std::vector<ExpectedEntry> &actual,
                   const std::vector<ExpectedEntry> &expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("definition " + std::to_string(i + 1));
        EXPECT_EQ(actual[i].MsdLfd, expected[i].MsdLfd);
        EXPECT_EQ(actual[i].MsdSpl, expected[i].MsdSpl);
        EXPECT_EQ(actual[i].Txt, expected[i].Txt);
        EXPECT_EQ(actual[i].Con, expected[i].Con);
    }
}

TEST_F(MessagesTest, TerminalLevelDecodesLabelsAndKeepsThemForEmptyOwnTexts) {
    LoadLookupFixture(kMessageFixture);
    ASSERT_EQ(OpenTerminalMessages("T1"), 0);
    int lastStatus = 0;
    std::vector<ExpectedEntry> delivered = FetchAll(FetchTerminalMessage, &lastStatus);
    ExpectEntries(delivered, {
                                 // NULL sequence number: delivered as 0, no value code.
                                 {0, 1, "Urlaub       ", ""},
                                 // NULL MsdSpl gives 1; value code right-trimmed.
                                 {1, 1, "Espa" + kEnye + "a       ", "#W2"},
                                 // 17 characters selected, cut to 12 after decoding.
                                 {2, 2, "ABCDEFGHIJKL ", "#W21"},
                                 // No value-code row: delivered with an empty code,
                                 // nothing left of the previous one.
                                 {3, 0, kEnye + "BCDEFGHIJKL ", ""},
                                 // An empty MsdTxt keeps the label; a NULL value code.
                                 {4, 1, "AB" + kEnye + "CD&#241;E ", ""},
                                 // A longer value code is cut to ten characters.
                                 {5, 1, "Saldo        ", "#W2ABCDEFG"},
                                 // A MsdTxt of blanks blanks the label.
                                 {6, 1, kBlankLabel, "#W2"},
                                 // No label text, no value choice: both empty.
                                 {7, 1, "", ""},
                                 // Standard definition of another client.
                                 {8, 1, "Urlaub       ", "#W2"},
                                 {9, 1, "Urlaub       ", "#W2"},
                             });
    EXPECT_EQ(lastStatus, NO_MORE_ROWS);
    EXPECT_EQ(DbStatus, NO_MORE_ROWS);

    // Further fetches neither touch the entry nor run a statement.
    MessageEntry entry;
    std::memset(&entry, 'x', sizeof entry);
    MessageEntry before = entry;
    long sent = DbStatementsSent();
    EXPECT_EQ(FetchTerminalMessage(&entry), NO_MORE_ROWS);
    EXPECT_EQ(DbStatementsSent(), sent);
    EXPECT_EQ(std::memcmp(&entry, &before, sizeof entry), 0);

    EXPECT_EQ(CloseTerminalMessages(), 0);
    EXPECT_EQ(CloseTerminalMessages(), -1);
    EXPECT_EQ(DbStatus, -1);
}

TEST_F(MessagesTest, BadgeLevelKeepsEntitiesAndAlwaysTakesTheOwnText) {
    LoadLookupFixture(kMessageFixture);
    ASSERT_EQ(OpenBadgeMessages("B1"), 0);
    int lastStatus = 0;
    std::vector<ExpectedEntry> delivered = FetchAll(FetchBadgeMessage, &lastStatus);
    ExpectEntries(delivered, {
                                 {1, 1, "Espa&#241;a  ", "#W3"},
                                 {2, 2, kBlankLabel, "#W3"},
                                 {3, 1, "Saldo        ", "#W3"},
                                 {4, 1, kBlankLabel, "#W3"},
                                 // 12 characters selected; no value-code row.
                                 {5, 1, "ABCDEFGHIJKL ", ""},
                             });
    EXPECT_EQ(lastStatus, NO_MORE_ROWS);
    EXPECT_EQ(CloseBadgeMessages(), 0);

    for (const char *badge : {"GONE", "PLAIN", "UNKNOWN"}) {
        SCOPED_TRACE(badge);
        ASSERT_EQ(OpenBadgeMessages(badge), 0);
        EXPECT_TRUE(FetchAll(FetchBadgeMessage, &lastStatus).empty());
        EXPECT_EQ(lastStatus, NO_MORE_ROWS);
        EXPECT_EQ(CloseBadgeMessages(), 0);
    }
}

TEST_F(MessagesTest, FailingValueCodeStatementEndsTheListWithItsError) {
    LoadLookupFixture(kMessageFixture);
    ASSERT_EQ(OpenTerminalMessages("T1"), 0);
    // The definitions are stored on the client; the value codes can no
    // longer be selected.
    EndGeneratorTransaction();
    ExecSql("ALTER TABLE Orvadat.Orv102Whl DROP COLUMN FTXT10");
    MessageEntry entry;
    std::memset(&entry, 'x', sizeof entry);
    MessageEntry before = entry;
    const int unknownColumn = 1054;
    EXPECT_EQ(FetchTerminalMessage(&entry), unknownColumn);
    EXPECT_EQ(DbStatus, unknownColumn);
    EXPECT_EQ(std::memcmp(&entry, &before, sizeof entry), 0) << "the definition is not delivered";
    EXPECT_EQ(CloseTerminalMessages(), 0);
}

TEST_F(MessagesTest, FailingDefinitionsStatementLeavesNothingToFetch) {
    LoadLookupFixture(kMessageFixture);
    ExecSql("DROP TABLE Orvadat.Orv119Msd");
    const int missingTable = 1146;
    EXPECT_EQ(OpenTerminalMessages("T1"), missingTable);
    EXPECT_EQ(OpenBadgeMessages("B1"), missingTable);
    MessageEntry entry = {};
    EXPECT_EQ(FetchTerminalMessage(&entry), -1);
    EXPECT_EQ(FetchBadgeMessage(&entry), -1);
    EXPECT_EQ(CloseTerminalMessages(), -1);
    EXPECT_EQ(CloseBadgeMessages(), -1);
}

TEST_F(MessagesTest, NamesAsLongAsTheirRecordFieldsSelectTheirValueCodes) {
    const std::string terminal(sizeof(TerminalRecord::TrmNam) - 1, 'T');
    const std::string badge(sizeof(BadgeRecord::AswNum) - 1, 'B');
    LoadLookupFixture("INSERT INTO Orvadat.Orv1140Trm (TrmNam, TRMSAL, TrmSpr) VALUES ('" +
                      terminal +
                      "', 'S', 1);"
                      "INSERT INTO Orvadat.Orv301Asw (AswNum, AswSal, AswSpr) VALUES ('" +
                      badge +
                      "', 'S', 1);"
                      "INSERT INTO Orvadat.Orv102Whl VALUES (220001, 1, 1, 'Saldo', NULL),"
                      "  (220002, 1, 1, NULL, '#W2');"
                      "INSERT INTO Orvadat.Orv119Msd (MsdSal, MsdLfd, MsdAnz, MsdWrt, MSDERF) "
                      "  VALUES ('S', 1, 1, 1, 'KORVALD');");
    MessageEntry entry = {};
    ASSERT_EQ(OpenTerminalMessages(terminal.c_str()), 0);
    EXPECT_EQ(FetchTerminalMessage(&entry), 0);
    EXPECT_STREQ(entry.Con, "#W2");
    CloseTerminalMessages();
    entry = {};
    ASSERT_EQ(OpenBadgeMessages(badge.c_str()), 0);
    EXPECT_EQ(FetchBadgeMessage(&entry), 0);
    EXPECT_STREQ(entry.Con, "#W2");
    CloseBadgeMessages();

    // One character more than the records hold: refused without a statement.
    long sent = DbStatementsSent();
    EXPECT_EQ(OpenTerminalMessages((terminal + "T").c_str()), -1);
    EXPECT_EQ(OpenBadgeMessages((badge + "B").c_str()), -1);
    EXPECT_EQ(DbStatus, -1);
    EXPECT_EQ(DbStatementsSent(), sent);
    EXPECT_EQ(FetchTerminalMessage(&entry), -1);
    EXPECT_EQ(CloseBadgeMessages(), -1);
}

} // namespace
