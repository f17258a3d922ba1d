#include "db/db.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

char StatementBuffer[kStatementBufferSize];
MYSQL_ROW CurrentRow;
int DbStatus;

namespace {

MYSQL DbConnection;
bool Connected = false;
int LostConnectionError = 0;
long StatementsSent = 0;
DbCursor SettingsCursor;
DbStatementHook StatementHook = nullptr;

// Escaped values go through this scratch area; a value that needs more than
// the StatementBuffer cannot fit the statement anyway.
char EscapeBuffer[2 * kStatementBufferSize + 1];

bool IsClientError(unsigned int error) {
    return error >= 2000 && error <= 2999;
}

void NoteClientError(unsigned int error) {
    if (IsClientError(error) && LostConnectionError == 0) {
        LostConnectionError = static_cast<int>(error);
    }
}

[[noreturn]] void StopOnOverflow() {
    // The normal exit flushes and closes the download file.
    std::exit(1);
}

[[noreturn]] void StopOnTemplateMismatch(const char *tmpl) {
    std::fprintf(stderr, "internal error: statement template and values disagree: %s\n", tmpl);
    std::abort();
}

// Appends `length` bytes to the statement; stops the process when they do not
// fit together with the terminating zero byte.
void AppendBytes(size_t *used, const char *bytes, size_t length) {
    if (length >= kStatementBufferSize - *used) {
        StopOnOverflow();
    }
    std::memcpy(StatementBuffer + *used, bytes, length);
    *used += length;
}

// The bytes the client library escapes, in either escaping mode.
constexpr char kEscapedBytes[] = "\\'\"\n\r\032";

void AppendEscapedText(size_t *used, const char *text) {
    size_t length = std::strlen(text);
    // A value without any of them (terminal names, badge numbers as a rule)
    // comes out of the escaping as it went in, so it is copied directly.
    if (std::strcspn(text, kEscapedBytes) == length) {
        AppendBytes(used, text, length);
        return;
    }
    if (length >= kStatementBufferSize) {
        StopOnOverflow();
    }
    unsigned long escaped;
    if (Connected) {
        escaped = mysql_real_escape_string(&DbConnection, EscapeBuffer, text, length);
    } else {
        escaped = mysql_escape_string(EscapeBuffer, text, length);
    }
    if (escaped == static_cast<unsigned long>(-1)) {
        StopOnOverflow();
    }
    AppendBytes(used, EscapeBuffer, escaped);
}

} // namespace

int DbConnect(const char *user, const char *password, const char *host, const char *schema) {
    if (mysql_init(&DbConnection) == nullptr) {
        int error = static_cast<int>(mysql_errno(&DbConnection));
        return error != 0 ? error : -1;
    }
    // Texts are Windows-1252 end to end: records, console lines and escaping.
    mysql_options(&DbConnection, MYSQL_SET_CHARSET_NAME, "latin1");
    if (mysql_real_connect(&DbConnection, host, user, password, schema, 0, nullptr, 0) == nullptr) {
        return static_cast<int>(mysql_errno(&DbConnection));
    }
    Connected = true;
    // Its status is not examined: a failing setting leaves the connection usable.
    RunStatement(&SettingsCursor, "SET AUTOCOMMIT = 0", {});
    return 0;
}

int DbExecute(DbCursor *cursor) {
    cursor->result = nullptr;
    ++StatementsSent;
    if (StatementHook != nullptr) {
        StatementHook(StatementsSent);
    }
    if (mysql_real_query(&DbConnection, cursor->statement, std::strlen(cursor->statement)) != 0) {
        unsigned int error = mysql_errno(&DbConnection);
        NoteClientError(error);
        return error != 0 ? static_cast<int>(error) : -1;
    }
    cursor->result = mysql_store_result(&DbConnection);
    unsigned int error = mysql_errno(&DbConnection);
    if (error != 0) {
        NoteClientError(error);
        return -1;
    }
    return 0;
}

int DbFetch(DbCursor *cursor, MYSQL_ROW *row) {
    if (cursor->result == nullptr) {
        return -1;
    }
    if (static_cast<uint64_t>(cursor->rowsFetched) >= mysql_num_rows(cursor->result)) {
        return NO_MORE_ROWS;
    }
    // The result is stored on the client, so only a missing row is an error
    // here; the connection's error number may still tell of another cursor's
    // failed statement and says nothing about this result.
    *row = mysql_fetch_row(cursor->result);
    if (*row == nullptr) {
        return -1;
    }
    ++cursor->rowsFetched;
    return 0;
}

int DbFree(DbCursor *cursor) {
    if (cursor->result == nullptr) {
        return -1;
    }
    mysql_free_result(cursor->result);
    cursor->result = nullptr;
    cursor->rowsFetched = 0;
    return 0;
}

void FormatStatement(const char *tmpl, std::initializer_list<StatementArg> args) {
    const StatementArg *arg = args.begin();
    size_t used = 0;
    const char *p = tmpl;
    while (*p != '\0') {
        // The text up to the next conversion goes in one piece: a statement is
        // formatted for every lookup of every badge.
        const char *percent = std::strchr(p, '%');
        if (percent == nullptr) {
            AppendBytes(&used, p, std::strlen(p));
            break;
        }
        AppendBytes(&used, p, static_cast<size_t>(percent - p));
        p = percent;
        if (p[1] == '%') {
            AppendBytes(&used, "%", 1);
            p += 2;
        } else if (p[1] == 's') {
            if (arg == args.end() || arg->text == nullptr) {
                StopOnTemplateMismatch(tmpl);
            }
            AppendEscapedText(&used, arg->text);
            ++arg;
            p += 2;
        } else if (p[1] == 'l' && p[2] == 'd') {
            if (arg == args.end() || arg->text != nullptr) {
                StopOnTemplateMismatch(tmpl);
            }
            char digits[24];
            int length = std::snprintf(digits, sizeof digits, "%ld", arg->number);
            AppendBytes(&used, digits, static_cast<size_t>(length));
            ++arg;
            p += 3;
        } else {
            StopOnTemplateMismatch(tmpl);
        }
    }
    if (arg != args.end()) {
        StopOnTemplateMismatch(tmpl);
    }
    StatementBuffer[used] = '\0';
}

int RunStatement(DbCursor *cursor, const char *tmpl, std::initializer_list<StatementArg> args) {
    FormatStatement(tmpl, args);
    cursor->statement = StatementBuffer;
    DbStatus = DbExecute(cursor);
    return DbStatus;
}

uint64_t DbRowCount(const DbCursor *cursor) {
    return cursor->result == nullptr ? 0 : mysql_num_rows(cursor->result);
}

int DbLostConnection() {
    return LostConnectionError;
}

long DbStatementsSent() {
    return StatementsSent;
}

MYSQL *DbConnectionHandle() {
    return &DbConnection;
}

void SetDbStatementHookForTests(DbStatementHook hook) {
    StatementHook = hook;
}
