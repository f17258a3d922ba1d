// The one database connection and the cursor operations every lookup runs
// through.
//
// Status codes: 0 success, NO_MORE_ROWS when a cursor has delivered all rows,
// -1 for a failure without a number, otherwise the client library's error
// number. Which errors skip and which abort is decided in one place: a
// missing row is normal, a server-side statement error is handled by the
// lookup that ran it, and a client-side error (2000 to 2999: the connection
// is gone or unusable) is latched in DbLostConnection so that the badge walk
// stops instead of producing an incomplete file that looks complete.
#pragma once

#include <mysql.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>

constexpr int NO_MORE_ROWS = 1032;
constexpr size_t kStatementBufferSize = 2000;

// One query site. Zero-initialised; `statement` is pointed at the
// StatementBuffer right before DbExecute.
struct DbCursor {
    const char *statement; // statement text to execute, not owned
    MYSQL_RES *result;     // stored result, or null
    uint32_t rowsFetched;  // rows delivered since the last DbFree
};

extern char StatementBuffer[kStatementBufferSize]; // every lookup formats its statement here
extern MYSQL_ROW CurrentRow;                       // the one row slot every fetch fills
extern int DbStatus;                               // latest status a lookup recorded

// Initialises and connects the process-wide connection (latin1, host, user,
// password, default database), then switches autocommit off. Returns 0 or the
// client library's error number.
int DbConnect(const char *user, const char *password, const char *host, const char *schema);

// Sends the cursor's statement and stores its whole result. Returns 0 (also
// for a statement without result set), the library's error number when the
// statement failed, or -1 when storing the result failed.
int DbExecute(DbCursor *cursor);

// Delivers the next stored row into *row. Returns 0, NO_MORE_ROWS (row slot
// untouched) or -1 (no result on the cursor, or the fetch failed).
int DbFetch(DbCursor *cursor, MYSQL_ROW *row);

// Releases the cursor's result. Returns 0, or -1 when it held none.
int DbFree(DbCursor *cursor);

// One value for a statement template: a text for %s (escaped for the
// connection before it is placed between the template's quotes) or a number
// for %ld.
struct StatementArg {
    StatementArg(const char *value) : text(value), number(0) {}
    StatementArg(long value) : text(nullptr), number(value) {}
    const char *text;
    long number;
};

// Formats `tmpl` into the StatementBuffer. A statement that does not fit
// (2000 characters or more) ends the process with exit status 1 and no
// output; stdio buffers are flushed by the normal exit.
void FormatStatement(const char *tmpl, std::initializer_list<StatementArg> args);

// The statement convention in one call: format, point the cursor at the
// StatementBuffer, execute. Records the status in DbStatus and returns it.
int RunStatement(DbCursor *cursor, const char *tmpl, std::initializer_list<StatementArg> args);

// Number of rows in the cursor's stored result, 0 when it holds none.
uint64_t DbRowCount(const DbCursor *cursor);

// The client-side error number (2000 to 2999) of the first statement that
// found the connection unusable, or 0 while the connection is sound.
int DbLostConnection();

// Number of statements sent to the server since the process started.
long DbStatementsSent();

// For tests only: the process-wide connection handle.
MYSQL *DbConnectionHandle();

// For tests only: called with the statement's number (counting from 1) right
// before each statement is sent, e.g. to kill the connection in mid-walk.
typedef void (*DbStatementHook)(long statementNumber);
void SetDbStatementHookForTests(DbStatementHook hook);
