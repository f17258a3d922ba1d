// Access to the throwaway test server (found through MYSQL_UNIX_PORT) for
// loading fixtures. Failures throw, which fails the running test.
#pragma once

#include <string>
#include <vector>

// Logins created by scripts/db-server.
inline constexpr const char *kAdminUser = "preluxa_admin";
inline constexpr const char *kAdminPassword = "preluxa-admin";
inline constexpr const char *kReadOnlyUser = "preluxa_ro";
inline constexpr const char *kReadOnlyPassword = "preluxa-ro";

// Runs one or more ';'-separated statements as the admin login.
void ExecSql(const std::string &sql);

// The first column of the first row of a query, "NULL" for an SQL NULL.
std::string QueryValue(const std::string &sql);

// The first row of a query, "NULL" for an SQL NULL; empty without a row.
std::vector<std::string> QueryRow(const std::string &sql);

// Drops the Orvadat schema and creates it anew from db/schema.sql.
void ResetOrvadat();

// ResetOrvadat, then runs the fixture statements.
void LoadFixture(const std::string &sql);

// Ends the open read transaction of the generator's connection, if any.
void EndGeneratorTransaction();

// Connects the generator's own process-wide connection as the read-only
// login, once per test program.
void ConnectGenerator();

// The contents of a file of the source tree.
std::string ReadSourceFile(const std::string &relativePath);
