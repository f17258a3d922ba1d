#include "lookup/access.h"

#include "lookup_test_support.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

class AccessTest : public LookupTest {
  protected:
    void SetUp() override {
        savedResize = AccessStorageResize;
    }
    void TearDown() override {
        AccessStorageResize = savedResize;
        SetReaderCacheForTests(true);
        LookupTest::TearDown();
    }
    void *(*savedResize)(void *, size_t) = nullptr;
};

// Terminal T1: class ZA grants time booking, AC (two readers) and HI grant
// access, BO both; T2's class OT must not count on T1.
const char *const kProfileFixture = R"sql(
    INSERT INTO Orvadat.MGSST35P (M35TRM, M35BKL, M35LES, M35BCH) VALUES
      ('T1', 'ZA', '1', '1'),
      ('T1', 'AC', '1', '0'), ('T1', 'AC', '2', '0'),
      ('T1', 'HI', '3', '0'),
      ('T1', 'BO', '1', '1'), ('T1', 'BO', '4', '0'),
      ('T2', 'OT', '1', '1'), ('T2', 'OT', '1', '0');
    INSERT INTO Orvadat.Orv301Awb (AWBASW, AWBBKL, AWBZUV) VALUES
      ('TIME', 'ZA', 1),
      ('ACC', 'AC', 5), ('ACC', 'HI', 9), ('ACC', 'HI', 9),
      ('BOTH', 'BO', 2),
      ('OTHER', 'OT', 1),
      ('NONE', 'XX', 1);
    INSERT INTO Orvadat.Orv401Zls (ZlsTrm, ZlsLes, ZlsSta) VALUES
      ('T1', 1, NULL), ('T1', 2, 0), ('T1', 3, 8), ('T1', 4, 4), ('T1', 5, NULL), ('T1', 11, 1),
      ('T1', 12, NULL), ('T1', 40, NULL), ('T1', 0, NULL), ('T1', -3, NULL), ('T1', NULL, NULL),
      ('T2', 6, NULL);
)sql";

BadgeRecord MakeBadge(const char *number) {
    BadgeRecord badge;
    std::memset(&badge, 0, sizeof badge);
    if (!CopyText(badge.AswNum, sizeof badge.AswNum, number)) {
        throw std::runtime_error("badge number too long for the record");
    }
    return badge;
}

// The AccessList as "class|reader|priority" texts. The priorities must not
// rise; within one priority the order is the database's, so it is sorted.
std::vector<std::string> AccessItems() {
    std::vector<std::pair<int, std::string>> items;
    for (int i = 0; i < BadgeAccess.count; ++i) {
        const AccessItem &item = BadgeAccess.items[i];
        items.push_back({item.AWBZUV, std::string(item.M35BKL) + "|" + item.M35LES + "|" +
                                          std::to_string(item.AWBZUV)});
    }
    auto higherFirst = [](const auto &a, const auto &b) { return a.first > b.first; };
    EXPECT_TRUE(std::is_sorted(items.begin(), items.end(), higherFirst));
    std::sort(items.begin(), items.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::vector<std::string> texts;
    for (const auto &item : items) {
        texts.push_back(item.second);
    }
    return texts;
}

TEST_F(AccessTest, TimeAuthorisationAndAccessProfilePerBadge) {
    LoadLookupFixture(kProfileFixture);
    struct BadgeCase {
        const char *badge;
        int timeAuthorisation;
        const char *line;
        std::vector<std::string> items;
    };
    const BadgeCase cases[] = {
        {"TIME", 1, "Aws: TIME Zeitberechtigung: 1\n", {}},
        // The duplicate HI assignment gives one item; priority 9 before 5.
        {"ACC", 0, "Aws: ACC Zeitberechtigung: 0\n", {"HI |3 |9", "AC |1 |5", "AC |2 |5"}},
        {"BOTH", 1, "Aws: BOTH Zeitberechtigung: 1\n", {"BO |4 |2"}},
        {"OTHER", 0, "Aws: OTHER Zeitberechtigung: 0\n", {}},
        {"NONE", 0, "Aws: NONE Zeitberechtigung: 0\n", {}},
        {"UNKNOWN", 0, "Aws: UNKNOWN Zeitberechtigung: 0\n", {}},
    };
    VerboseMode = 1;
    for (const BadgeCase &c : cases) {
        SCOPED_TRACE(c.badge);
        BadgeRecord badge = MakeBadge(c.badge);
        int authorised = -1;
        std::string out = CaptureStdout([&] { authorised = HasTimeAuthorisation(&badge, "T1"); });
        EXPECT_EQ(authorised, c.timeAuthorisation);
        EXPECT_EQ(out, c.line);
        int hasAccess = -1;
        out = CaptureStdout([&] { hasAccess = LoadAccessProfile(&badge, "T1", 32, 0); });
        EXPECT_EQ(hasAccess, c.items.empty() ? 0 : 1);
        EXPECT_EQ(AccessItems(), c.items);
        EXPECT_EQ(out, "");
    }
}

TEST_F(AccessTest, TimeAuthorisationPrintsNothingOutsideVerboseMode) {
    LoadLookupFixture(kProfileFixture);
    BadgeRecord badge = MakeBadge("TIME");
    VerboseMode = 0;
    int authorised = -1;
    EXPECT_EQ(CaptureStdout([&] { authorised = HasTimeAuthorisation(&badge, "T1"); }), "");
    EXPECT_EQ(authorised, 1);
}

TEST_F(AccessTest, NextBadgeDropsThePreviousItems) {
    LoadLookupFixture(kProfileFixture);
    BadgeRecord first = MakeBadge("ACC");
    BadgeRecord second = MakeBadge("BOTH");
    BadgeRecord third = MakeBadge("NONE");
    ASSERT_EQ(LoadAccessProfile(&first, "T1", 32, 0), 1);
    ASSERT_EQ(BadgeAccess.count, 3);
    EXPECT_EQ(LoadAccessProfile(&second, "T1", 32, 0), 1);
    EXPECT_EQ(AccessItems(), (std::vector<std::string>{"BO |4 |2"}));
    EXPECT_EQ(LoadAccessProfile(&third, "T1", 32, 0), 0);
    EXPECT_EQ(BadgeAccess.count, 0);
}

// A record whose ReaderSlots are pre-filled with '#', followed by a guard
// that shows any write past the last slot.
struct GuardedBadge {
    BadgeRecord badge;
    char guard[16];
};

TEST_F(AccessTest, MarksOnlyActiveReadersUpToTheHighestNumber) {
    LoadLookupFixture(kProfileFixture);
    using Slots = std::array<const char *, kReaderSlots>; // nullptr: slot keeps its pre-fill
    struct MarkCase {
        long highestReader;
        int markReaders;
        Slots slots;
        long statements; // statements sent by the call
    };
    const MarkCase cases[] = {
        {3, 1, {"01", "02"}, 2},
        {11,
         1,
         {"01", "02", nullptr, nullptr, "05", nullptr, nullptr, nullptr, nullptr, nullptr, "11"},
         2},
        // Above the slots: readers 12 and 40 are delivered but have no slot.
        {40,
         1,
         {"01", "02", nullptr, nullptr, "05", nullptr, nullptr, nullptr, nullptr, nullptr, "11"},
         2},
        {0, 1, {}, 2},
        // Marking off: the reader statement does not run, the access statement does.
        {11, 0, {}, 1},
    };
    for (const MarkCase &c : cases) {
        SCOPED_TRACE("highest " + std::to_string(c.highestReader) + " mark " +
                     std::to_string(c.markReaders));
        GuardedBadge guarded;
        std::memset(&guarded, '#', sizeof guarded);
        std::memset(&guarded.badge, 0, offsetof(BadgeRecord, ReaderSlots));
        CopyText(guarded.badge.AswNum, sizeof guarded.badge.AswNum, "ACC");
        long sentBefore = DbStatementsSent();
        EXPECT_EQ(LoadAccessProfile(&guarded.badge, "T1", c.highestReader, c.markReaders), 1);
        EXPECT_EQ(DbStatementsSent() - sentBefore, c.statements);
        EXPECT_EQ(BadgeAccess.count, 3);
        for (int n = 0; n < kReaderSlots; ++n) {
            SCOPED_TRACE("slot of reader " + std::to_string(n + 1));
            const char *expected = c.slots[n] != nullptr ? c.slots[n] : "###";
            EXPECT_EQ(std::string(guarded.badge.ReaderSlots[n], kReaderSlotWidth),
                      std::string(expected, kReaderSlotWidth));
        }
        EXPECT_EQ(std::string(guarded.guard, sizeof guarded.guard),
                  std::string(sizeof guarded.guard, '#'));
    }
}

// The reader slots of a badge as texts, "" for an unmarked slot.
std::vector<std::string> ReaderSlotTexts(const BadgeRecord &badge) {
    std::vector<std::string> slots;
    for (int n = 0; n < kReaderSlots; ++n) {
        slots.push_back(badge.ReaderSlots[n]);
    }
    return slots;
}

TEST_F(AccessTest, ReaderStatementRunsOncePerTerminalAndLimit) {
    LoadLookupFixture(kProfileFixture);
    using Slots = std::vector<std::string>;
    const Slots upTo11 = {"01", "02", "", "", "05", "", "", "", "", "", "11"};
    const Slots upTo3 = {"01", "02", "", "", "", "", "", "", "", "", ""};
    const Slots none(kReaderSlots, "");
    enum Step { LOAD, FORGET, CACHE_OFF };
    struct ReaderCase {
        Step step;
        const char *terminal;
        long highestReader;
        long statements; // statements sent by the call: readers (unless kept) and access
        Slots slots;
    };
    const ReaderCase cases[] = {
        {LOAD, "T1", 11, 2, upTo11},
        {LOAD, "T1", 11, 1, upTo11},
        {LOAD, "T1", 11, 1, upTo11},
        {LOAD, "T1", 3, 2, upTo3},
        {LOAD, "T1", 3, 1, upTo3},
        // T2's only reader is 6: an empty result is kept as well.
        {LOAD, "T2", 3, 2, none},
        {LOAD, "T2", 3, 1, none},
        // Only the last terminal and limit are kept.
        {LOAD, "T1", 3, 2, upTo3},
        {FORGET, "", 0, 0, {}},
        {LOAD, "T1", 3, 2, upTo3},
        {CACHE_OFF, "", 0, 0, {}},
        {LOAD, "T1", 3, 2, upTo3},
        {LOAD, "T1", 3, 2, upTo3},
    };
    int step = 0;
    for (const ReaderCase &c : cases) {
        SCOPED_TRACE("step " + std::to_string(++step));
        if (c.step == FORGET) {
            ForgetTerminalReaders();
            continue;
        }
        if (c.step == CACHE_OFF) {
            SetReaderCacheForTests(false);
            continue;
        }
        BadgeRecord badge = MakeBadge("ACC");
        long sentBefore = DbStatementsSent();
        EXPECT_EQ(LoadAccessProfile(&badge, c.terminal, c.highestReader, 1),
                  std::strcmp(c.terminal, "T1") == 0 ? 1 : 0);
        EXPECT_EQ(DbStatementsSent() - sentBefore, c.statements);
        EXPECT_EQ(ReaderSlotTexts(badge), c.slots);
    }
}

TEST_F(AccessTest, FailedReaderStatementIsSentAgainForTheNextBadge) {
    LoadLookupFixture(std::string(kProfileFixture) + "DROP TABLE Orvadat.Orv401Zls;");
    for (const char *number : {"ACC", "BOTH", "ACC"}) {
        SCOPED_TRACE(number);
        BadgeRecord badge = MakeBadge(number);
        long sentBefore = DbStatementsSent();
        EXPECT_EQ(LoadAccessProfile(&badge, "T1", 11, 1), 1);
        EXPECT_EQ(DbStatementsSent() - sentBefore, 2);
        EXPECT_EQ(ReaderSlotTexts(badge), std::vector<std::string>(kReaderSlots, ""));
    }
}

TEST_F(AccessTest, FailedStatementsMarkNothingOrLoadNothing) {
    VerboseMode = 1;
    {
        SCOPED_TRACE("no booking-class table");
        LoadLookupFixture(std::string(kProfileFixture) + "DROP TABLE Orvadat.MGSST35P;");
        BadgeRecord badge = MakeBadge("ACC");
        int authorised = -1;
        std::string out = CaptureStdout([&] { authorised = HasTimeAuthorisation(&badge, "T1"); });
        EXPECT_EQ(authorised, 0);
        EXPECT_EQ(DbStatus, 1146);
        EXPECT_EQ(out, "Aws: ACC Zeitberechtigung: 0\n");
        int hasAccess = -1;
        out = CaptureStdout([&] { hasAccess = LoadAccessProfile(&badge, "T1", 3, 1); });
        EXPECT_EQ(hasAccess, 0);
        EXPECT_EQ(BadgeAccess.count, 0);
        EXPECT_EQ(out, "");
        EXPECT_STREQ(badge.ReaderSlots[0], "01"); // the readers do not depend on the badge
    }
    {
        SCOPED_TRACE("no reader table");
        LoadLookupFixture(std::string(kProfileFixture) + "DROP TABLE Orvadat.Orv401Zls;");
        BadgeRecord badge = MakeBadge("ACC");
        EXPECT_EQ(LoadAccessProfile(&badge, "T1", 3, 1), 1);
        EXPECT_EQ(BadgeAccess.count, 3);
        EXPECT_STREQ(badge.ReaderSlots[0], "");
    }
}

TEST_F(AccessTest, ItemTextsArePaddedTrimmedAndRefusedWhenTooLong) {
    LoadLookupFixture(R"sql(
        INSERT INTO Orvadat.MGSST35P (M35TRM, M35BKL, M35LES, M35BCH) VALUES
          ('T1', 'LONG06', '1', '0'),
          ('T1', 'FIVE5   ', '1  \t', '0'),
          ('T1', 'OK', 'LESER6', '0'), ('T1', 'OK', '2', '0'), ('T1', 'OK', '12345', '0'),
          ('T1', 'NUL', NULL, '0');
        INSERT INTO Orvadat.Orv301Awb (AWBASW, AWBBKL, AWBZUV) VALUES
          ('B1', 'LONG06', 9), ('B1', 'FIVE5', 8), ('B1', 'OK', 7), ('B1', 'NUL', NULL);
    )sql");
    VerboseMode = 0; // refusals are reported whatever the mode
    BadgeRecord badge = MakeBadge("B1");
    int hasAccess = -1;
    std::string out = CaptureStdout([&] { hasAccess = LoadAccessProfile(&badge, "T1", 32, 0); });
    EXPECT_EQ(hasAccess, 1);
    EXPECT_EQ(AccessItems(),
              (std::vector<std::string>{"FIVE5|1 |8", "OK |12345|7", "OK |2 |7", "NUL||0"}));
    EXPECT_EQ(out, "Ausweis B1: Buchungsklasse LONG06 nicht in Datei gestellt: M35BKL zu lang "
                   "(6 Zeichen, hoechstens 5)\n"
                   "Ausweis B1: Buchungsklasse OK nicht in Datei gestellt: M35LES zu lang "
                   "(6 Zeichen, hoechstens 5)\n");
}

TEST_F(AccessTest, QuoteAndBackslashAreMatchedLiterally) {
    LoadLookupFixture(R"sql(
        INSERT INTO Orvadat.MGSST35P (M35TRM, M35BKL, M35LES, M35BCH) VALUES
          ('T''1\\x', 'Q', '1', '1'), ('T''1\\x', 'Q', '2', '0'),
          ('T''1x', 'D', '1', '1'), ('T''1x', 'D', '3', '0');
        INSERT INTO Orvadat.Orv301Awb (AWBASW, AWBBKL, AWBZUV) VALUES
          ('A''B\\C', 'Q', 1), ('A''B\\C', 'D', 1), ('A''BC', 'D', 1);
        INSERT INTO Orvadat.Orv401Zls (ZlsTrm, ZlsLes) VALUES ('T''1\\x', 4), ('T''1x', 5);
    )sql");
    BadgeRecord badge = MakeBadge("A'B\\C");
    EXPECT_EQ(HasTimeAuthorisation(&badge, "T'1\\x"), 1);
    EXPECT_EQ(LoadAccessProfile(&badge, "T'1\\x", 11, 1), 1);
    EXPECT_EQ(AccessItems(), (std::vector<std::string>{"Q  |2 |1"}));
    EXPECT_STREQ(badge.ReaderSlots[3], "04");
    EXPECT_STREQ(badge.ReaderSlots[4], "");
    BadgeRecord other = MakeBadge("A'BC");
    EXPECT_EQ(HasTimeAuthorisation(&other, "T'1\\x"), 0);
}

// Allocator hooks for the storage tests.
std::vector<std::pair<bool, size_t>> ResizeCalls; // (obtained anew, size) per call

void *RecordingResize(void *block, size_t size) {
    ResizeCalls.push_back({block == nullptr, size});
    return std::realloc(block, size);
}

void *FailingResize(void *, size_t) {
    return nullptr;
}

AccessItem MakeItem(const char *bookingClass, int priority) {
    AccessItem item = {};
    CopyText(item.M35BKL, sizeof item.M35BKL, bookingClass);
    CopyText(item.M35LES, sizeof item.M35LES, "1 ");
    item.AWBZUV = priority;
    return item;
}

TEST_F(AccessTest, AppendGrowsTheListByOneItemPerCall) {
    LoadLookupFixture("");
    BadgeRecord badge = MakeBadge("B1");
    ASSERT_EQ(LoadAccessProfile(&badge, "T1", 32, 0), 0); // empties the list
    ResizeCalls.clear();
    AccessStorageResize = RecordingResize;
    const AccessItem items[] = {MakeItem("A  ", 3), MakeItem("B  ", 2), MakeItem("C  ", 1)};
    for (const AccessItem &item : items) {
        EXPECT_EQ(AppendAccessItem(&item), 1);
    }
    EXPECT_EQ(ResizeCalls, (std::vector<std::pair<bool, size_t>>{
                               {true, sizeof(AccessItem)},
                               {false, 2 * sizeof(AccessItem)},
                               {false, 3 * sizeof(AccessItem)},
                           }));
    EXPECT_EQ(AccessItems(), (std::vector<std::string>{"A  |1 |3", "B  |1 |2", "C  |1 |1"}));
}

TEST_F(AccessTest, StorageFailureKeepsTheListAndIsLatched) {
    LoadLookupFixture("");
    BadgeRecord badge = MakeBadge("B1");
    ASSERT_EQ(LoadAccessProfile(&badge, "T1", 32, 0), 0); // empties the list
    const AccessItem first = MakeItem("A  ", 2);
    const AccessItem second = MakeItem("B  ", 1);

    AccessStorageResize = FailingResize;
    int appended = -1;
    EXPECT_EQ(CaptureStdout([&] { appended = AppendAccessItem(&first); }),
              "Fehler beim allokieren von Speicher");
    EXPECT_EQ(appended, 0);
    EXPECT_EQ(BadgeAccess.count, 0);
    EXPECT_EQ(BadgeAccess.items, nullptr);
    EXPECT_EQ(AccessStorageFailed(), 1);

    AccessStorageResize = savedResize;
    ASSERT_EQ(AppendAccessItem(&first), 1);
    AccessItem *stored = BadgeAccess.items;
    AccessStorageResize = FailingResize;
    EXPECT_EQ(CaptureStdout([&] { appended = AppendAccessItem(&second); }),
              "Fehler beim reallokieren von Speicher");
    EXPECT_EQ(appended, 0);
    EXPECT_EQ(BadgeAccess.items, stored);
    EXPECT_EQ(AccessItems(), (std::vector<std::string>{"A  |1 |2"}));
    EXPECT_EQ(AccessStorageFailed(), 1);
}

} // namespace
