#include "lookup/badge_cursor.h"

#include "lookup_test_support.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

class BadgeCursorTest : public LookupTest {
  protected:
    void TearDown() override {
        CloseBadgeCursor();
        LookupTest::TearDown();
    }
};

struct BadgeWalk {
    std::vector<BadgeRecord> badges; // delivered rows, in order
    int lastStatus;                  // the status that ended the walk
};

// Walks the badge cursor as a writer does, zero-filling before every fetch.
BadgeWalk FetchAllBadges(const TerminalRecord &terminal) {
    BadgeWalk walk;
    OpenBadgeCursor(&terminal);
    BadgeRecord badge;
    std::memset(&badge, 0, sizeof badge);
    while ((walk.lastStatus = FetchBadge(&badge)) == 0) {
        walk.badges.push_back(badge);
        std::memset(&badge, 0, sizeof badge);
    }
    CloseBadgeCursor();
    return walk;
}

std::vector<std::string> BadgeNumbers(const BadgeWalk &walk) {
    std::vector<std::string> numbers;
    for (const BadgeRecord &badge : walk.badges) {
        numbers.push_back(badge.AswNum);
    }
    return numbers;
}

// The fields that FetchBadge does not fill must still be all zero.
bool OtherFieldsUntouched(const BadgeRecord &badge) {
    auto zero = [](const void *field, size_t size) {
        const char *bytes = static_cast<const char *>(field);
        for (size_t i = 0; i < size; ++i) {
            if (bytes[i] != '\0') {
                return false;
            }
        }
        return true;
    };
    return zero(badge.TimeAuthFlag, sizeof badge.TimeAuthFlag) &&
           zero(badge.AccessFlag, sizeof badge.AccessFlag) &&
           zero(badge.FixedCode, sizeof badge.FixedCode) &&
           zero(badge.StoKtx, sizeof badge.StoKtx) &&
           zero(badge.TimeAccounts, sizeof badge.TimeAccounts) &&
           zero(badge.FreeTexts, sizeof badge.FreeTexts) &&
           zero(badge.ReaderSlots, sizeof badge.ReaderSlots);
}

bool AllZero(const BadgeRecord &badge) {
    BadgeRecord zero;
    std::memset(&zero, 0, sizeof zero);
    return std::memcmp(&badge, &zero, sizeof badge) == 0;
}

TEST_F(BadgeCursorTest, DeliversOnlyBadgesValidToday) {
    struct ValidityCase {
        const char *badge;
        const char *from;  // AswGvo
        const char *until; // AswGbi
        bool delivered;
    };
    const ValidityCase cases[] = {
        {"V01", "CURDATE() - INTERVAL 3 DAY", "CURDATE() + INTERVAL 3 DAY", true},
        {"V02", "CURDATE()", "CURDATE()", true},
        {"V03", "CURDATE() - INTERVAL 3 DAY", "NULL", true},
        {"V04", "CURDATE()", "NULL", true},
        {"V05", "CURDATE() + INTERVAL 1 DAY", "NULL", false},
        {"V06", "NULL", "CURDATE() + INTERVAL 3 DAY", true},
        {"V07", "NULL", "CURDATE()", true},
        {"V08", "NULL", "CURDATE() - INTERVAL 1 DAY", false},
        {"V09", "NULL", "NULL", false},
        {"V10", "CURDATE() - INTERVAL 9 DAY", "CURDATE() - INTERVAL 1 DAY", false},
        {"V11", "CURDATE() + INTERVAL 1 DAY", "CURDATE() + INTERVAL 9 DAY", false},
    };
    std::string fixture;
    for (const ValidityCase &c : cases) {
        fixture += std::string("INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo, AswGbi) VALUES ('") +
                   c.badge + "', " + c.from + ", " + c.until + ");" +
                   "INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto) VALUES ('" + c.badge + "', 1);";
    }
    LoadLookupFixture(fixture);

    BadgeWalk walk = FetchAllBadges(MakeTerminal("T1"));
    EXPECT_EQ(walk.lastStatus, NO_MORE_ROWS);
    size_t next = 0;
    for (const ValidityCase &c : cases) {
        if (!c.delivered) {
            continue;
        }
        SCOPED_TRACE(c.badge);
        ASSERT_LT(next, walk.badges.size());
        const BadgeRecord &badge = walk.badges[next++];
        EXPECT_STREQ(badge.AswNum, c.badge);
        EXPECT_EQ(badge.AswGvo, DateDigits(c.from));
        EXPECT_EQ(badge.AswGbi, DateDigits(c.until));
    }
    EXPECT_EQ(next, walk.badges.size());
}

TEST_F(BadgeCursorTest, LeavesOutDeletedBadgesAndLinks) {
    struct StatusCase {
        const char *badge;
        const char *aswSta;
        const char *awvSta;
        const char *awvCod;
        bool delivered;
    };
    const StatusCase cases[] = {
        {"S01", "NULL", "NULL", "NULL", true}, {"S02", "0", "1", "3", true},
        {"S03", "4", "NULL", "NULL", false},   {"S04", "8", "NULL", "NULL", false},
        {"S05", "NULL", "4", "NULL", false},   {"S06", "NULL", "8", "NULL", false},
        {"S07", "NULL", "NULL", "8", false},   {"S08", "2", "2", "4", true},
    };
    std::string fixture;
    std::vector<std::string> expected;
    for (const StatusCase &c : cases) {
        fixture += std::string("INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo, AswSta) VALUES ('") +
                   c.badge + "', CURDATE(), " + c.aswSta + ");" +
                   "INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto, AwvSta, AwvCod) VALUES ('" +
                   c.badge + "', 1, " + c.awvSta + ", " + c.awvCod + ");";
        if (c.delivered) {
            expected.push_back(c.badge);
        }
    }
    LoadLookupFixture(fixture);
    EXPECT_EQ(BadgeNumbers(FetchAllBadges(MakeTerminal("T1"))), expected);
}

TEST_F(BadgeCursorTest, FillsFieldsFromTheRowAlone) {
    LoadLookupFixture(R"sql(
        INSERT INTO Orvadat.Orv301Asw
          (AswNum, AswGvo, AswGbi, AswPnr, AswBkl, AswBk2, AswGrp, AswAtp, AswSal, AswSpr, AswPin)
        VALUES
          ('F1', CURDATE(), CURDATE() + INTERVAL 1 DAY, '  P1 \t ', 'K', 'Z', 'G1 ', 7, 'SAL1  ', 3,
           '1234\t'),
          ('F2', CURDATE(), NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
          ('F3', CURDATE(), NULL, 'P3', NULL, 'Z', NULL, -5, NULL, 0, NULL),
          ('F4', CURDATE(), NULL, NULL, '', 'Y  ', NULL, 0, NULL, NULL, NULL),
          ('F5', CURDATE(), NULL, NULL, 'ABCD', 'Z', 'GROUP78', NULL, NULL, NULL, NULL),
          ('F6', CURDATE(), NULL, NULL, '   ', 'Z', NULL, NULL, NULL, NULL, NULL);
        INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto) VALUES
          ('F1', 12345), ('F2', NULL), ('F3', 12345678), ('F4', 0), ('F5', 7), ('F6', 1);
    )sql");
    struct Expected {
        const char *AswNum, *AswPnr, *AswBkl, *AswGrp, *AswAtp, *AswSal, *AswSpr, *AswPin, *AwvSto;
    };
    const Expected expected[] = {
        {"F1", "  P1", "K  ", "G1", "7", "SAL1", "3", "1234", "00012345"},
        // Every column NULL: nothing of F1 remains, the defaults apply.
        {"F2", "", "   ", "", "0", "", "1", "", "00000000"},
        {"F3", "P3", "Z  ", "", "-5", "", "0", "", "12345678"},
        {"F4", "", "Y  ", "", "0", "", "1", "", "00000000"},
        {"F5", "", "ABCD", "GROUP", "0", "", "1", "", "00000007"},
        // A class of blanks only is not empty, so AswBk2 does not replace it.
        {"F6", "", "   ", "", "0", "", "1", "", "00000001"},
    };
    BadgeWalk walk = FetchAllBadges(MakeTerminal("T1"));
    EXPECT_EQ(walk.lastStatus, NO_MORE_ROWS);
    ASSERT_EQ(walk.badges.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const Expected &e = expected[i];
        const BadgeRecord &badge = walk.badges[i];
        SCOPED_TRACE(e.AswNum);
        EXPECT_STREQ(badge.AswNum, e.AswNum);
        EXPECT_STREQ(badge.AswPnr, e.AswPnr);
        EXPECT_STREQ(badge.AswBkl, e.AswBkl);
        EXPECT_STREQ(badge.AswGrp, e.AswGrp);
        EXPECT_STREQ(badge.AswAtp, e.AswAtp);
        EXPECT_STREQ(badge.AswSal, e.AswSal);
        EXPECT_STREQ(badge.AswSpr, e.AswSpr);
        EXPECT_STREQ(badge.AswPin, e.AswPin);
        EXPECT_STREQ(badge.AwvSto, e.AwvSto);
        EXPECT_TRUE(OtherFieldsUntouched(badge));
    }
    EXPECT_EQ(walk.badges[0].AswGbi, DateDigits("CURDATE() + INTERVAL 1 DAY"));
    EXPECT_STREQ(walk.badges[1].AswGbi, "");
}

TEST_F(BadgeCursorTest, OrdersByBadgeNumberAndRepeatsBadgeWithTwoLocations) {
    LoadLookupFixture(R"sql(
        INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo) VALUES
          ('B3', CURDATE()), ('B1', CURDATE()), ('B2', CURDATE()), ('B10', CURDATE());
        INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto, AwvCod) VALUES
          ('B3', 31, NULL), ('B2', 21, NULL), ('B10', 101, NULL), ('B1', 11, NULL), ('B2', 22, NULL),
          ('B2', 23, 8);
    )sql");
    BadgeWalk walk = FetchAllBadges(MakeTerminal("T1"));
    EXPECT_EQ(BadgeNumbers(walk), (std::vector<std::string>{"B1", "B10", "B2", "B2", "B3"}));
    ASSERT_EQ(walk.badges.size(), 5u);
    // The two B2 rows carry their own location; their order is the database's.
    std::vector<std::string> locations = {walk.badges[2].AwvSto, walk.badges[3].AwvSto};
    std::sort(locations.begin(), locations.end());
    EXPECT_EQ(locations, (std::vector<std::string>{"00000021", "00000022"}));
}

TEST_F(BadgeCursorTest, TerminalWithAssignmentsWalksOnlyItsClients) {
    LoadLookupFixture(R"sql(
        INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo, AswLiz, AswMnd) VALUES
          ('C1', CURDATE(), 1, 1), ('C2', CURDATE(), 1, 2), ('C3', CURDATE(), 2, 1),
          ('C4', CURDATE(), 2, 2), ('C5', CURDATE(), NULL, NULL);
        INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto) VALUES
          ('C1', 1), ('C2', 1), ('C3', 1), ('C4', 1), ('C5', 1);
        INSERT INTO Orvadat.Orv115Tfz (TfzTrm, TfzLiz, TfzMnd, TfzSta) VALUES
          ('T1', 1, 1, NULL), ('T1', 2, 2, 4),
          ('T2', 1, 2, NULL),
          ('T3', 1, 1, NULL), ('T3', 1, 1, NULL);
    )sql");
    struct ClientCase {
        const char *terminal;
        int assignmentCount;
        std::vector<std::string> badges;
    };
    const ClientCase cases[] = {
        // The badge statement ignores the assignment status; only the count looks at it.
        {"T1", 1, {"C1", "C4"}},
        {"T2", 1, {"C2"}},
        {"T3", 2, {"C1", "C1"}}, // one row per matching assignment
        {"T9", 1, {}},
        {"T1", 0, {"C1", "C2", "C3", "C4", "C5"}},
        {"T1", -1, {"C1", "C2", "C3", "C4", "C5"}},
    };
    for (const ClientCase &c : cases) {
        SCOPED_TRACE(std::string(c.terminal) + " count " + std::to_string(c.assignmentCount));
        BadgeWalk walk = FetchAllBadges(MakeTerminal(c.terminal, c.assignmentCount));
        EXPECT_EQ(walk.lastStatus, NO_MORE_ROWS);
        EXPECT_EQ(BadgeNumbers(walk), c.badges);
    }
}

TEST_F(BadgeCursorTest, QuoteAndBackslashAreMatchedLiterally) {
    LoadLookupFixture(R"sql(
        INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo, AswLiz, AswMnd) VALUES
          ('A''B\\C', CURDATE(), 1, 1), ('D1', CURDATE(), 2, 2);
        INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto) VALUES ('A''B\\C', 5), ('D1', 6);
        INSERT INTO Orvadat.Orv115Tfz (TfzTrm, TfzLiz, TfzMnd) VALUES
          ('T''1\\x', 1, 1), ('T''1x', 2, 2);
    )sql");
    BadgeWalk walk = FetchAllBadges(MakeTerminal("T'1\\x", 1));
    EXPECT_EQ(BadgeNumbers(walk), (std::vector<std::string>{"A'B\\C"}));
}

TEST_F(BadgeCursorTest, RefusesRowWhoseValueDoesNotFitItsField) {
    struct RefusalCase {
        const char *title;
        std::string number;  // AswNum of the badge under test
        std::string columns; // further Orv301Asw columns, with a leading comma
        std::string values;  // their values, with a leading comma
        const char *location;
        bool refused;
        const char *field; // the field named in the refusal line, or the field compared
        size_t length;
        size_t limit;
        std::string stored; // the field's text when the row fits
    };
    const std::string n50(50, 'N');
    const std::string p59(59, 'P');
    const std::string k11 = "KLASSE78901";
    const RefusalCase cases[] = {
        {"number fits", n50, "", "", "1", false, "AswNum", 0, 0, n50},
        {"number too long", n50 + "N", "", "", "1", true, "AswNum", 51, 50, ""},
        {"personnel fits", "R1", ",AswPnr", ",'" + p59 + "'", "1", false, "AswPnr", 0, 0, p59},
        {"personnel too long", "R1", ",AswPnr", ",'" + p59 + "P'", "1", true, "AswPnr", 60, 59, ""},
        {"display set fits", "R1", ",AswSal", ",'SAL4567890 '", "1", false, "AswSal", 0, 0,
         "SAL4567890"},
        {"display set too long", "R1", ",AswSal", ",'SAL45678901'", "1", true, "AswSal", 11, 10,
         ""},
        {"pin fits", "R1", ",AswPin", ",'" + std::string(32, '9') + "'", "1", false, "AswPin", 0, 0,
         std::string(32, '9')},
        {"pin too long", "R1", ",AswPin", ",'" + std::string(33, '9') + "'", "1", true, "AswPin",
         33, 32, ""},
        {"class fits", "R1", ",AswBkl", ",'" + k11 + "'", "1", false, "AswBkl", 0, 0, k11},
        {"class too long", "R1", ",AswBkl", ",'" + k11 + "2'", "1", true, "AswBkl", 12, 11, ""},
        {"second class too long", "R1", ",AswBk2", ",'" + k11 + "2'", "1", true, "AswBkl", 12, 11,
         ""},
        {"location fits", "R1", "", "", "99999999", false, "AwvSto", 0, 0, "99999999"},
        {"location too long", "R1", "", "", "123456789", true, "AwvSto", 9, 8, ""},
        {"language fits", "R1", ",AswSpr", ",-999", "1", false, "AswSpr", 0, 0, "-999"},
        {"language too long", "R1", ",AswSpr", ",12345", "1", true, "AswSpr", 5, 4, ""},
        {"negative language too long", "R1", ",AswSpr", ",-1234", "1", true, "AswSpr", 5, 4, ""},
    };
    VerboseMode = 0; // refusals are reported whatever the mode
    for (const RefusalCase &c : cases) {
        SCOPED_TRACE(c.title);
        // The reference columns are too narrow for some of these classes.
        LoadLookupFixture("ALTER TABLE Orvadat.Orv301Asw MODIFY AswBkl VARCHAR(20), MODIFY "
                          "AswBk2 VARCHAR(20);"
                          "INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo" +
                          c.columns + ") VALUES ('" + c.number + "', CURDATE()" + c.values +
                          ");"
                          "INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo) VALUES ('Z9', CURDATE());"
                          "INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto) VALUES ('" +
                          c.number + "', " + c.location + "), ('Z9', 9);");
        TerminalRecord terminal = MakeTerminal("T1");
        OpenBadgeCursor(&terminal);
        BadgeRecord badge;
        std::memset(&badge, 0, sizeof badge);
        int status = 0;
        std::string out = CaptureStdout([&] { status = FetchBadge(&badge); });
        if (c.refused) {
            EXPECT_EQ(status, BADGE_REFUSED);
            EXPECT_EQ(out, "Ausweis " + c.number + " nicht in Datei gestellt: " + c.field +
                               " zu lang (" + std::to_string(c.length) + " Zeichen, hoechstens " +
                               std::to_string(c.limit) + ")\n");
            EXPECT_TRUE(AllZero(badge));
        } else {
            EXPECT_EQ(status, 0);
            EXPECT_EQ(out, "");
            std::string field = c.field;
            const char *stored = field == "AswNum"   ? badge.AswNum
                                 : field == "AswPnr" ? badge.AswPnr
                                 : field == "AswSal" ? badge.AswSal
                                 : field == "AswPin" ? badge.AswPin
                                 : field == "AswBkl" ? badge.AswBkl
                                 : field == "AwvSto" ? badge.AwvSto
                                                     : badge.AswSpr;
            EXPECT_EQ(stored, c.stored);
        }
        // The walk goes on with the next badge.
        std::memset(&badge, 0, sizeof badge);
        EXPECT_EQ(FetchBadge(&badge), 0);
        EXPECT_STREQ(badge.AswNum, "Z9");
        EXPECT_EQ(FetchBadge(&badge), NO_MORE_ROWS);
        CloseBadgeCursor();
    }
}

TEST_F(BadgeCursorTest, EndOfRowsLeavesTheRecordAsPassed) {
    LoadLookupFixture("");
    TerminalRecord terminal = MakeTerminal("T1");
    EXPECT_EQ(OpenBadgeCursor(&terminal), 0);
    BadgeRecord badge;
    std::memset(&badge, 0, sizeof badge);
    EXPECT_EQ(FetchBadge(&badge), NO_MORE_ROWS);
    EXPECT_EQ(DbStatus, NO_MORE_ROWS);
    EXPECT_TRUE(AllZero(badge));
    EXPECT_EQ(CloseBadgeCursor(), 0);
    EXPECT_EQ(CloseBadgeCursor(), -1);
}

TEST_F(BadgeCursorTest, FailedStatementReturnsServerErrorAndFetchFails) {
    LoadLookupFixture(R"sql(
        INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo) VALUES ('B1', CURDATE());
        DROP TABLE Orvadat.Orv113Awv;
    )sql");
    TerminalRecord terminal = MakeTerminal("T1");
    EXPECT_EQ(OpenBadgeCursor(&terminal), 1146); // ER_NO_SUCH_TABLE
    EXPECT_EQ(DbStatus, 1146);
    BadgeRecord badge;
    std::memset(&badge, 0, sizeof badge);
    EXPECT_EQ(FetchBadge(&badge), -1);
    EXPECT_TRUE(AllZero(badge));
    EXPECT_EQ(CloseBadgeCursor(), -1);
}

} // namespace
