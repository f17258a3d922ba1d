#include "support/test_db.h"

#include "db/db.h"
#include "lookup/access.h"

#include <mysql.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

MYSQL *Admin() {
    static MYSQL *connection = nullptr;
    if (connection == nullptr) {
        connection = mysql_init(nullptr);
        mysql_options(connection, MYSQL_SET_CHARSET_NAME, "latin1");
        if (mysql_real_connect(connection, "localhost", kAdminUser, kAdminPassword, nullptr, 0,
                               nullptr, CLIENT_MULTI_STATEMENTS) == nullptr) {
            throw std::runtime_error(std::string("cannot reach the test server (is "
                                                 "MYSQL_UNIX_PORT set by scripts/test?): ") +
                                     mysql_error(connection));
        }
    }
    return connection;
}

void Fail(MYSQL *connection, const std::string &sql) {
    throw std::runtime_error("statement failed: " + std::string(mysql_error(connection)) +
                             "\nin: " + sql.substr(0, 400));
}

} // namespace

void ExecSql(const std::string &sql) {
    MYSQL *connection = Admin();
    if (mysql_real_query(connection, sql.data(), sql.size()) != 0) {
        Fail(connection, sql);
    }
    do {
        MYSQL_RES *result = mysql_store_result(connection);
        if (result != nullptr) {
            mysql_free_result(result);
        } else if (mysql_errno(connection) != 0) {
            Fail(connection, sql);
        }
    } while (mysql_next_result(connection) == 0);
    if (mysql_errno(connection) != 0) {
        Fail(connection, sql);
    }
}

std::vector<std::string> QueryRow(const std::string &sql) {
    MYSQL *connection = Admin();
    if (mysql_real_query(connection, sql.data(), sql.size()) != 0) {
        Fail(connection, sql);
    }
    MYSQL_RES *result = mysql_store_result(connection);
    if (result == nullptr) {
        Fail(connection, sql);
    }
    std::vector<std::string> values;
    MYSQL_ROW row = mysql_fetch_row(result);
    if (row != nullptr) {
        for (unsigned i = 0; i < mysql_num_fields(result); ++i) {
            values.push_back(row[i] == nullptr ? "NULL" : row[i]);
        }
    }
    mysql_free_result(result);
    return values;
}

std::string QueryValue(const std::string &sql) {
    std::vector<std::string> row = QueryRow(sql);
    return row.empty() ? "" : row[0];
}

std::string ReadSourceFile(const std::string &relativePath) {
    std::ifstream in(std::string(PRELUXA_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + relativePath);
    }
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

namespace {
bool GeneratorConnected = false;
}

void ResetOrvadat() {
    static const std::string schema = ReadSourceFile("db/schema.sql");
    // The generator's connection runs with autocommit off, so its reads keep a
    // transaction open that holds metadata locks and an old snapshot; ending
    // it lets the schema be dropped and the new fixture be seen.
    if (GeneratorConnected) {
        mysql_rollback(DbConnectionHandle());
    }
    ForgetTerminalReaders();
    ExecSql("DROP DATABASE IF EXISTS Orvadat");
    ExecSql(schema);
}

void EndGeneratorTransaction() {
    if (GeneratorConnected) {
        mysql_rollback(DbConnectionHandle());
    }
    // What the lookups kept belonged to the transaction just ended.
    ForgetTerminalReaders();
}

void LoadFixture(const std::string &sql) {
    ResetOrvadat();
    if (!sql.empty()) {
        ExecSql(sql);
    }
}

void ConnectGenerator() {
    if (!GeneratorConnected) {
        int status = DbConnect(kReadOnlyUser, kReadOnlyPassword, "localhost", "ORVADAT");
        if (status != 0) {
            throw std::runtime_error("DbConnect failed with " + std::to_string(status));
        }
        GeneratorConnected = true;
    }
}
