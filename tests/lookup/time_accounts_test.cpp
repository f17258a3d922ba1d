#include "lookup/time_accounts.h"

#include "lookup_test_support.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

class TimeAccountsTest : public LookupTest {};

BadgeRecord BadgeNumbered(const std::string &number) {
    BadgeRecord badge;
    std::memset(&badge, 0, sizeof badge);
    if (!CopyText(badge.AswNum, sizeof badge.AswNum, number.c_str())) {
        throw std::runtime_error("badge number too long for the record");
    }
    return badge;
}

std::string Sql(const char *text) {
    return text == nullptr ? "NULL" : "'" + std::string(text) + "'";
}

// One balance column as stored and the slot text it must give.
struct BalanceCase {
    int column;           // TswW<column>
    const char *stored;   // sign character and value; nullptr for NULL
    const char *expected; // slot text
};

const BalanceCase kBalanceCases[] = {
    // TswW02 shows a plus as a blank and keeps every other sign.
    {2, "+12345", " 12345 "},
    {2, "-12345", " 12345-"},
    {2, "#12345", " 12345#"},
    // The other balances leave a "#" out and keep a plus.
    {5, "#123456", "123456"},
    {5, "+123456", "123456+"},
    {3, "#    42", "    42"},
    {14, "#  1,50", "  1,50"},
    {14, "-  1,50", "  1,50-"},
    {16, "+7", "     7+"},
    // Left-trimmed (blanks, tabs, line feeds), then at most six characters,
    // nothing rounded.
    {2, "-\t\n 42", "    42-"},
    {3, "-1234567", "123456-"},
    {2, "+123456789", "123456 "},
    // A value of blanks is kept as blanks.
    {9, "+   ", "      +"},
    {2, "+      ", "       "},
    // A sign without a value, and an empty column.
    {2, "+", "       "},
    {10, "-", "      -"},
    {2, "", "      "},
    {11, "", "      "},
    // NULL leaves the slot empty.
    {2, nullptr, ""},
    {9, nullptr, ""},
};

TEST_F(TimeAccountsTest, BalanceSlotsFollowTheSignRules) {
    std::string fixture;
    for (size_t i = 0; i < std::size(kBalanceCases); ++i) {
        const BalanceCase &c = kBalanceCases[i];
        fixture += "INSERT INTO Orvadat.O2002TSW (TSWIDN, TswW" +
                   std::string(c.column < 10 ? "0" : "") + std::to_string(c.column) +
                   ") VALUES ('B" + std::to_string(i) + "', " + Sql(c.stored) + ");";
    }
    LoadLookupFixture(fixture);
    for (size_t i = 0; i < std::size(kBalanceCases); ++i) {
        const BalanceCase &c = kBalanceCases[i];
        SCOPED_TRACE("TswW" + std::to_string(c.column) + " " + Sql(c.stored));
        BadgeRecord badge = BadgeNumbered("B" + std::to_string(i));
        ASSERT_EQ(LoadTimeAccounts(&badge), 0);
        EXPECT_EQ(DbStatus, 0);
        EXPECT_STREQ(TimeAccountSlot(&badge, c.column), c.expected);
        for (int other = 2; other <= 16; ++other) {
            if (other != c.column) {
                EXPECT_STREQ(TimeAccountSlot(&badge, other), "") << "TswW" << other;
            }
        }
    }
}

TEST_F(TimeAccountsTest, SlotsLieInTheRecordOrder) {
    // Every balance column carries its own number; TswW09 is NULL and TswW01
    // is not used.
    LoadLookupFixture(
        "INSERT INTO Orvadat.O2002TSW (TSWIDN, TswW01, TswW02, TswW03, TswW04, TswW05, TswW06,"
        "  TswW07, TswW08, TswW09, TswW10, TswW11, TswW12, TswW13, TswW14, TswW15, TswW16) VALUES"
        "  ('B1', '-1', '-2', '-3', '-4', '-5', '-6', '-7', '-8', NULL, '-10', '-11', '-12',"
        "   '-13', '-14', '-15', '-16');");
    BadgeRecord badge = BadgeNumbered("B1");
    ASSERT_EQ(LoadTimeAccounts(&badge), 0);
    const char *const inRecordOrder[kTimeAccountSlots] = {
        "     2-", // TswW02
        "",        // TswW09
        "    10-", "    11-", "    12-", "    13-", "    14-", "    15-", "    16-",
        "     8-", "     5-", "     6-", "     7-", "     3-", "     4-"};
    for (int slot = 0; slot < kTimeAccountSlots; ++slot) {
        EXPECT_STREQ(badge.TimeAccounts[slot], inRecordOrder[slot]) << "slot " << slot;
    }
    EXPECT_EQ(TimeAccountSlot(&badge, 2), badge.TimeAccounts[0]);
    EXPECT_EQ(TimeAccountSlot(&badge, 4), badge.TimeAccounts[14]);
    EXPECT_EQ(TimeAccountSlot(&badge, 1), nullptr);
    EXPECT_EQ(TimeAccountSlot(&badge, 17), nullptr);
}

TEST_F(TimeAccountsTest, FreeTextsArePaddedToTwentyUntrimmed) {
    LoadLookupFixture(
        "INSERT INTO Orvadat.O2002TSW (TSWIDN, TswF01, TswF02, TswF03, TswF04, TswF10) VALUES"
        "  ('B1', 'Urlaub', NULL, '  mit Blanks  ', 'Gleitzeit Vormonat gesamt',"
        "   '12345678901234567890');");
    BadgeRecord badge = BadgeNumbered("B1");
    ASSERT_EQ(LoadTimeAccounts(&badge), 0);
    const char *const expected[kFreeTexts] = {"Urlaub              ",
                                              "",
                                              "  mit Blanks        ",
                                              "Gleitzeit Vormonat g",
                                              "",
                                              "",
                                              "",
                                              "",
                                              "",
                                              "12345678901234567890"};
    for (int number = 1; number <= kFreeTexts; ++number) {
        EXPECT_STREQ(FreeTextField(&badge, number), expected[number - 1]) << "TswF" << number;
    }
    EXPECT_EQ(FreeTextField(&badge, 0), nullptr);
    EXPECT_EQ(FreeTextField(&badge, 11), nullptr);
}

TEST_F(TimeAccountsTest, MissingRowOrTableLeavesTheRecordUnchanged) {
    struct MissingCase {
        const char *name;
        const char *fixture;
        int status;
    };
    const MissingCase cases[] = {
        {"no row for the badge",
         "INSERT INTO Orvadat.O2002TSW (TSWIDN, TswW02, TswF01) VALUES ('OTHER', '+1', 'x');",
         NO_MORE_ROWS},
        {"no time-account table", "DROP TABLE Orvadat.O2002TSW;", 1146},
    };
    for (const MissingCase &c : cases) {
        SCOPED_TRACE(c.name);
        LoadLookupFixture(c.fixture);
        BadgeRecord badge;
        std::memset(&badge, '#', sizeof badge);
        std::memcpy(badge.AswNum, "B1", 3);
        BadgeRecord before = badge;
        std::string out;
        int status = 0;
        out = CaptureStdout([&] { status = LoadTimeAccounts(&badge); });
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(DbStatus, c.status);
        EXPECT_EQ(std::memcmp(&badge, &before, sizeof badge), 0);
        EXPECT_EQ(out, "");
    }
}

TEST_F(TimeAccountsTest, OnlyTheBadgesOwnRowIsRead) {
    // The quote in the badge number reaches the statement escaped.
    LoadLookupFixture("INSERT INTO Orvadat.O2002TSW (TSWIDN, TswW02) VALUES"
                      "  ('B1', '-1'), ('B1''2', '-12'), ('B12', '-99');");
    BadgeRecord badge = BadgeNumbered("B1'2");
    ASSERT_EQ(LoadTimeAccounts(&badge), 0);
    EXPECT_STREQ(TimeAccountSlot(&badge, 2), "    12-");
}

} // namespace
