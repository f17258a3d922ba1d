#include "lookup/location.h"

#include "lookup_test_support.h"

#include <cstring>
#include <string>

namespace {

class LocationTest : public LookupTest {};

// Badges and their location rows:
//   LONG   a ten-character text           TWO    two characters
//   PAD    "AB" followed by blanks        NULL   a NULL text
//   NONE   no link row                    GONE   link row with status 4
//   CLOSED location with status 8         ACTIVE status NULL and 0 count as active
const char kLocationFixture[] = R"sql(
    INSERT INTO Orvadat.Orv113Sto (StoNum, StoKtx, StoSta) VALUES
      (1, 'Werkhalle2', NULL), (2, 'EG', NULL), (3, 'AB    ', NULL), (4, NULL, NULL),
      (5, 'Lager', 8), (6, 'Pforte', 0);
    INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto, AwvSta) VALUES
      ('LONG', 1, NULL), ('TWO', 2, NULL), ('PAD', 3, NULL), ('NULL', 4, NULL),
      ('GONE', 1, 4), ('CLOSED', 5, NULL), ('ACTIVE', 6, 0);
)sql";

TEST_F(LocationTest, TakesAtMostThreeCharactersOfTheTrimmedText) {
    LoadLookupFixture(kLocationFixture);
    struct LocationCase {
        const char *badge;
        int status;
        const char StoKtx[4]; // all four bytes
    };
    const LocationCase cases[] = {
        {"LONG", 0, {'W', 'e', 'r', '\0'}},   {"TWO", 0, {'E', 'G', '\0', '\0'}},
        {"PAD", 0, {'A', 'B', '\0', '\0'}},   {"NULL", 0, {'\0', '\0', '\0', '\0'}},
        {"ACTIVE", 0, {'P', 'f', 'o', '\0'}}, {"NONE", NO_MORE_ROWS, {'\0', '\0', '\0', '\0'}},
        {"GONE", NO_MORE_ROWS, {'\0'}},       {"CLOSED", NO_MORE_ROWS, {'\0'}},
    };
    for (const LocationCase &c : cases) {
        SCOPED_TRACE(c.badge);
        BadgeRecord badge;
        std::memset(&badge, 0, sizeof badge);
        std::memcpy(badge.AswNum, c.badge, std::strlen(c.badge) + 1);
        std::memset(badge.AwvSto, '#', sizeof badge.AwvSto);
        std::string out = CaptureStdout([&] { EXPECT_EQ(LoadLocationText(&badge), c.status); });
        EXPECT_EQ(DbStatus, c.status);
        EXPECT_EQ(std::string(badge.StoKtx, sizeof badge.StoKtx), std::string(c.StoKtx, 4));
        EXPECT_EQ(std::string(badge.AwvSto, sizeof badge.AwvSto), std::string(9, '#'))
            << "nothing written past StoKtx";
        EXPECT_EQ(out, "");
    }
}

TEST_F(LocationTest, FourthByteIsNeverWritten) {
    // The copy carries no terminator; the caller's zero-fill ends the text.
    LoadLookupFixture(kLocationFixture);
    BadgeRecord badge;
    std::memset(&badge, 0, sizeof badge);
    std::memcpy(badge.AswNum, "LONG", 5);
    badge.StoKtx[3] = '#';
    EXPECT_EQ(LoadLocationText(&badge), 0);
    EXPECT_EQ(std::string(badge.StoKtx, 4), "Wer#");
}

TEST_F(LocationTest, FailedStatementReturnsTheServerError) {
    LoadLookupFixture(std::string(kLocationFixture) + "DROP TABLE Orvadat.Orv113Sto;");
    BadgeRecord badge;
    std::memset(&badge, 0, sizeof badge);
    std::memcpy(badge.AswNum, "LONG", 5);
    EXPECT_EQ(LoadLocationText(&badge), 1146);
    EXPECT_EQ(DbStatus, 1146);
    EXPECT_STREQ(badge.StoKtx, "");
}

} // namespace
