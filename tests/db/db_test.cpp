#include "db/db.h"

#include "support/test_db.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace {

class DbCursorTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        LoadFixture("CREATE TABLE Orvadat.Numbers (N INT, T VARCHAR(20));"
                    "INSERT INTO Orvadat.Numbers VALUES (1, 'eins'), (2, NULL), (3, 'drei');");
        ConnectGenerator();
    }
    void TearDown() override {
        DbFree(&cursor_);
    }
    int Run(const char *statement) {
        cursor_.statement = statement;
        return DbExecute(&cursor_);
    }
    DbCursor cursor_ = {};
};

TEST_F(DbCursorTest, EmptyResultEndsAtOnceAndFreesCleanly) {
    ASSERT_EQ(Run("SELECT N FROM Orvadat.Numbers WHERE N > 10"), 0);
    EXPECT_EQ(DbFetch(&cursor_, &CurrentRow), NO_MORE_ROWS);
    EXPECT_EQ(DbFree(&cursor_), 0);
    EXPECT_EQ(DbFree(&cursor_), -1) << "a second free has nothing to release";
}

TEST_F(DbCursorTest, DeliversEveryRowThenLeavesTheRowSlotAlone) {
    ASSERT_EQ(Run("SELECT N, T FROM Orvadat.Numbers ORDER BY N"), 0);
    const char *expected[] = {"eins", nullptr, "drei"};
    for (const char *text : expected) {
        ASSERT_EQ(DbFetch(&cursor_, &CurrentRow), 0);
        if (text == nullptr) {
            EXPECT_EQ(CurrentRow[1], nullptr);
        } else {
            EXPECT_STREQ(CurrentRow[1], text);
        }
    }
    MYSQL_ROW last = CurrentRow;
    EXPECT_EQ(DbFetch(&cursor_, &CurrentRow), NO_MORE_ROWS);
    EXPECT_EQ(CurrentRow, last);
    EXPECT_STREQ(CurrentRow[0], "3");
    EXPECT_EQ(cursor_.rowsFetched, 3u);
    EXPECT_EQ(DbFree(&cursor_), 0);
    EXPECT_EQ(cursor_.rowsFetched, 0u);
}

TEST_F(DbCursorTest, NeverExecutedOrFailedCursorHasNoResult) {
    DbCursor never = {};
    EXPECT_EQ(DbFetch(&never, &CurrentRow), -1);
    EXPECT_EQ(DbFree(&never), -1);

    EXPECT_EQ(Run("SELECT N FROM Orvadat.NoSuchTable"), 1146) << "the server's error number";
    EXPECT_EQ(cursor_.result, nullptr);
    EXPECT_EQ(DbFetch(&cursor_, &CurrentRow), -1);
    EXPECT_EQ(DbFree(&cursor_), -1);
    EXPECT_EQ(DbLostConnection(), 0) << "a server-side error is no lost connection";
}

// A failed statement on one cursor must not break the walk of another.
TEST_F(DbCursorTest, OpenCursorSurvivesAnotherCursorsFailedStatement) {
    ASSERT_EQ(Run("SELECT N FROM Orvadat.Numbers ORDER BY N"), 0);
    ASSERT_EQ(DbFetch(&cursor_, &CurrentRow), 0);
    DbCursor other = {};
    other.statement = "SELECT x FROM Orvadat.NoSuchTable";
    EXPECT_EQ(DbExecute(&other), 1146);
    ASSERT_EQ(DbFetch(&cursor_, &CurrentRow), 0);
    EXPECT_STREQ(CurrentRow[0], "2");
}

TEST_F(DbCursorTest, StatementWithoutResultSetSucceeds) {
    EXPECT_EQ(Run("SET @preluxa_probe = 1"), 0);
    EXPECT_EQ(cursor_.result, nullptr);
}

TEST_F(DbCursorTest, ConnectionReadsLatin1AndAutocommitIsOff) {
    ASSERT_EQ(Run("SELECT @@character_set_client, @@character_set_results, @@autocommit, "
                  "CONCAT('h', CHAR(0xE4 USING latin1), 'ngen')"),
              0);
    ASSERT_EQ(DbFetch(&cursor_, &CurrentRow), 0);
    EXPECT_STREQ(CurrentRow[0], "latin1");
    EXPECT_STREQ(CurrentRow[1], "latin1");
    EXPECT_STREQ(CurrentRow[2], "0");
    EXPECT_STREQ(CurrentRow[3], "h\xE4ngen") << "one byte per letter, not UTF-8";
}

// Values are escaped for the connection, so quotes, backslashes and comment
// markers reach the server as data.
TEST_F(DbCursorTest, TextValuesAreMatchedLiterally) {
    const char *values[] = {"plain",          "O'Brien",    "back\\slash",  "' OR '1'='1",
                            "semi; colon --", "percent %s", "\xE4\xF6\xFC", "quote\"double"};
    for (const char *value : values) {
        SCOPED_TRACE(value);
        ASSERT_EQ(RunStatement(&cursor_, "SELECT '%s', %ld", {value, 42L}), 0);
        ASSERT_EQ(DbFetch(&cursor_, &CurrentRow), 0);
        EXPECT_STREQ(CurrentRow[0], value);
        EXPECT_STREQ(CurrentRow[1], "42");
        DbFree(&cursor_);
    }
}

TEST(StatementFormatTest, ValuesWithoutSpecialCharactersGiveTheTemplateText) {
    ConnectGenerator();
    FormatStatement("SELECT x FROM t WHERE a = '%s' AND b = %ld AND c LIKE '%%Y%%m'", {"T01", -7L});
    EXPECT_STREQ(StatementBuffer, "SELECT x FROM t WHERE a = 'T01' AND b = -7 AND c LIKE '%Y%m'");
    FormatStatement("WHERE a = '%s'", {"it's"});
    EXPECT_STREQ(StatementBuffer, "WHERE a = 'it\\'s'");
}

// Values are placed exactly as the client library escapes them for the
// connection, whether or not they hold a byte that needs escaping.
TEST(StatementFormatTest, ValuesArePlacedAsTheClientLibraryEscapesThem) {
    ConnectGenerator();
    const std::string values[] = {
        "",
        "TRM-003",
        "0000000125",
        "h\xE4ngen \xF1\xFF",
        "it's",
        "say \"x\"",
        "back\\slash",
        "line\nfeed",
        "carriage\rreturn",
        std::string("ctrl\x1AZ"),
        "all '\"\\\n\r\x1A at once",
        "\t tab and blank ",
    };
    for (const std::string &value : values) {
        SCOPED_TRACE(value);
        std::string escaped(2 * value.size() + 1, '\0');
        escaped.resize(mysql_real_escape_string(DbConnectionHandle(), escaped.data(), value.data(),
                                                value.size()));
        FormatStatement("<%s>", {value.c_str()});
        EXPECT_EQ(std::string(StatementBuffer), "<" + escaped + ">");
    }
}

// Runs FormatStatement in a child process and reports how it ended and what it
// printed on standard output.
struct ChildResult {
    int exitStatus;
    std::string out;
};

ChildResult FormatInChild(const std::string &value) {
    int pipeFds[2];
    EXPECT_EQ(pipe(pipeFds), 0);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], 1);
        close(pipeFds[0]);
        std::printf("before "); // buffered output is flushed by the exit
        FormatStatement("%s", {value.c_str()});
        std::printf("fitted");
        std::exit(0);
    }
    close(pipeFds[1]);
    std::string out;
    char buffer[256];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0) {
        out.append(buffer, static_cast<size_t>(n));
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

TEST(StatementFormatTest, StatementOf2000CharactersEndsTheProcessWithStatus1) {
    ConnectGenerator();
    struct Case {
        size_t length;
        int exitStatus;
        const char *out;
    } cases[] = {
        {1999, 0, "before fitted"},
        {2000, 1, "before "},
        {5000, 1, "before "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.length);
        ChildResult result = FormatInChild(std::string(c.length, 'x'));
        EXPECT_EQ(result.exitStatus, c.exitStatus);
        EXPECT_EQ(result.out, c.out) << "nothing is printed for an overflow";
    }
    // Escaping counts: 1000 quotes need 2000 characters.
    EXPECT_EQ(FormatInChild(std::string(1000, '\'')).exitStatus, 1);
}

} // namespace
