// The generator's connection killed from a second connection in the middle of
// a run: every DNL function ends with exit status -1 and says why, instead of
// reporting a file built from empty lookups as complete.
#include "support/installation.h"
#include "support/test_db.h"

#include <gtest/gtest.h>
#include <mysql.h>

#include <atomic>
#include <chrono>
#include <regex>
#include <string>
#include <thread>

namespace {

// Waits for the generator's session, lets it work for a moment, kills it.
void KillGeneratorSession(std::atomic<bool> *killed) {
    MYSQL *admin = mysql_init(nullptr);
    if (mysql_real_connect(admin, "localhost", kAdminUser, kAdminPassword, nullptr, 0, nullptr,
                           0) == nullptr) {
        return;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!*killed && std::chrono::steady_clock::now() < deadline) {
        const char *query = "SELECT ID FROM information_schema.PROCESSLIST WHERE USER = "
                            "'preluxa_ro' AND COMMAND <> 'Connect'";
        if (mysql_query(admin, query) == 0) {
            MYSQL_RES *result = mysql_store_result(admin);
            MYSQL_ROW row = result != nullptr ? mysql_fetch_row(result) : nullptr;
            std::string id = row != nullptr && row[0] != nullptr ? row[0] : "";
            if (result != nullptr) {
                mysql_free_result(result);
            }
            if (!id.empty()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(150));
                mysql_query(admin, ("KILL CONNECTION " + id).c_str());
                *killed = true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    mysql_close(admin);
}

TEST(LostConnectionTest, EveryFunctionFailsWhenTheConnectionIsKilledMidRun) {
    // A generated installation large enough that the kill lands mid-walk.
    std::string generator = ReadSourceFile("db/generate.sql");
    generator = std::regex_replace(generator, std::regex("@BADGES@"), "4000");
    generator = std::regex_replace(generator, std::regex("@SEED@"), "7");
    LoadFixture(generator);
    Installation installation;
    installation.WriteTestLogin();
    const std::regex lost(
        "(.|\n)*Verbindung zur Datenbank verloren! SQLCode:20[0-9][0-9]\n(.|\n)*");
    for (const std::string &function : kDnlFunctions) {
        SCOPED_TRACE(function);
        std::atomic<bool> killed(false);
        std::thread killer(KillGeneratorSession, &killed);
        ProgramResult result =
            installation.Run({function, "TRM-001", installation / "out.dnl", "1"});
        killed = true;
        killer.join();
        EXPECT_EQ(result.exitStatus, 255) << result.out;
        EXPECT_TRUE(std::regex_match(result.out, lost)) << result.out;
        std::string abort = "Programmabbruch: Fehler bei Erstellung der Datei " + function + "!\n";
        ASSERT_GE(result.out.size(), abort.size());
        EXPECT_EQ(result.out.substr(result.out.size() - abort.size()), abort);
    }
}

} // namespace
