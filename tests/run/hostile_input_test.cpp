// Names, numbers and configuration files that try to break the generator:
// every case ends with the correct file, or with a clear message and exit
// status -1, never with a crash or a statement altered by its input.
#include "support/installation.h"
#include "support/test_db.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kFailed = 255;

// Terminals and badges whose names carry quotes, backslashes, percent signs,
// semicolons, comment markers and non-ASCII bytes. Every badge may book time
// on every terminal except the one whose name is an injection attempt.
const std::vector<std::string> kTerminals = {"T'1",    "T\\2",   "T%3",
                                             "T;4 --", "T/*5*/", "T\xE4\xF6\xFC"};
const std::vector<std::string> kBadges = {"B'1",
                                          "B\\2",
                                          "B%s3",
                                          "B;4 --",
                                          "B/*5",
                                          "B\xDF"
                                          "6"};

std::string Quoted(const std::string &text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "'";
}

std::string Fixture() {
    std::string sql;
    for (const std::string &terminal : kTerminals) {
        sql += "INSERT INTO Orvadat.Orv1140Trm (TrmNam, TRMSAL) VALUES (" + Quoted(terminal) +
               ", 'S');"
               "INSERT INTO Orvadat.MGSST35P (M35TRM, M35BKL, M35LES, M35BCH) VALUES (" +
               Quoted(terminal) + ", 'T', '01', '1');";
    }
    for (const std::string &badge : kBadges) {
        sql += "INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo, AswBkl) VALUES (" + Quoted(badge) +
               ", CURDATE(), 'T');"
               "INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto) VALUES (" +
               Quoted(badge) +
               ", 1);"
               "INSERT INTO Orvadat.Orv301Awb (AWBASW, AWBBKL, AWBZUV) VALUES (" +
               Quoted(badge) + ", 'T', 1);";
    }
    return sql;
}

class HostileInputTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        LoadFixture(Fixture());
    }
    void SetUp() override {
        installation_.WriteTestLogin();
    }
    std::string File() const {
        return installation_ / "out.dnl";
    }
    Installation installation_;
};

TEST_F(HostileInputTest, SpecialCharactersInNamesAreMatchedLiterally) {
    for (const std::string &terminal : kTerminals) {
        SCOPED_TRACE(terminal);
        ProgramResult result = installation_.Run({"IDSTAMM", terminal, File(), "1"});
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_NE(result.out.find("Ausweise gesamt: 6 davon in Datei gestellt: 6\n"),
                  std::string::npos)
            << result.out;
        std::string file = ReadBytes(File());
        for (const std::string &badge : kBadges) {
            EXPECT_NE(file.find("\"" + badge + "\",\""), std::string::npos) << badge;
        }
    }
}

TEST_F(HostileInputTest, InjectionAttemptMatchesNothing) {
    for (const std::string &terminal :
         {std::string("' OR '1'='1"), std::string("x' OR M35Trm LIKE '%"),
          std::string("\\' OR 1=1 -- "), std::string(255, '\'')}) {
        SCOPED_TRACE(terminal);
        ProgramResult result = installation_.Run({"IDSTAMM", terminal, File(), "1"});
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_NE(result.out.find("Ausweise gesamt: 6 davon in Datei gestellt: 0\n"),
                  std::string::npos)
            << result.out;
        EXPECT_EQ(ReadBytes(File()), "");
    }
}

std::string RandomBytes(unsigned seed, size_t size) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char &c : bytes) {
        c = static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

TEST_F(HostileInputTest, BrokenConfigurationFilesEndWithAClearMessage) {
    const std::string noLogin =
        "Kein Datenbank-Login (LOGIN) in ../../files/querandol.ini gefunden!\n";
    const std::string malformedPrefix = "Konfigurationsdatei ../../files/querandol.ini fehlerhaft";
    const std::string login = ConfigEntry(1, "LOGIN", kReadOnlyUser);
    struct Case {
        const char *name;
        std::string text;
        std::string out; // expected output, or a prefix ending in "..."
    } cases[] = {
        {"empty", "", noLogin},
        {"only line feeds", "\n\n\n\n", malformedPrefix + " (Zeile 2)!\n"},
        {"heading line too long", std::string(300, 'x') + "\n1;LOGIN;00\n",
         malformedPrefix + " (Zeile 1)!\n"},
        {"value line too long", "PRELUXA;DB;\n1;LOGIN;" + std::string(500, 'A') + "\n",
         malformedPrefix + " (Zeile 2)!\n"},
        {"value line without separator", "PRELUXA;DB;\n1 LOGIN 00\n",
         malformedPrefix + " (Zeile 2)!\n"},
        {"lower-case hexadecimal",
         [&] {
             std::string text = login;
             for (char &c : text) {
                 c = static_cast<char>(c >= 'A' && c <= 'F' ? c - 'A' + 'a' : c);
             }
             return text;
         }(),
         "DB-Connect-Error: 1045!..."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        installation_.WriteConfigText(c.text);
        ProgramResult result = installation_.Run({"IDSTAMM", kTerminals[0], File(), "1"});
        EXPECT_EQ(result.exitStatus, kFailed);
        if (c.out.size() > 3 && c.out.compare(c.out.size() - 3, 3, "...") == 0) {
            EXPECT_EQ(result.out.substr(0, c.out.size() - 3), c.out.substr(0, c.out.size() - 3));
        } else {
            EXPECT_EQ(result.out, c.out);
        }
        EXPECT_FALSE(FileExists(File()));
    }
}

TEST_F(HostileInputTest, RandomBytesAsConfigurationNeverCrash) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        installation_.WriteConfigText(RandomBytes(seed, 50 + seed * 37));
        ProgramResult result = installation_.Run({"IDSTAMM", kTerminals[0], File(), "1"});
        EXPECT_EQ(result.exitStatus, kFailed) << "seed " << seed;
        EXPECT_FALSE(result.out.empty()) << "seed " << seed;
    }
}

TEST_F(HostileInputTest, ConfigurationDirectoryGivesNoLogin) {
    std::remove((installation_ / "files/querandol.ini").c_str());
    MakeDirs(installation_ / "files/querandol.ini");
    ProgramResult result = installation_.Run({"IDSTAMM", kTerminals[0], File(), "1"});
    EXPECT_EQ(result.exitStatus, kFailed);
    EXPECT_EQ(result.out, "Kein Datenbank-Login (LOGIN) in ../../files/querandol.ini gefunden!\n");
}

// Tolerated forms of a good file still give the right login.
TEST_F(HostileInputTest, ToleratedConfigurationFormsStillConnect) {
    std::string good = ConfigEntry(1, "LOGIN", kReadOnlyUser) +
                       ConfigEntry(2, "PASS", kReadOnlyPassword) +
                       ConfigEntry(3, "NET8", "localhost") + ConfigEntry(4, "SCHEMA", "orvadat.");
    std::string crlf;
    for (char c : good) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    std::string oddLength = good;
    oddLength.insert(oddLength.find("\n", oddLength.find("1;LOGIN;")), "ABC");
    struct Case {
        const char *name;
        std::string text;
    } cases[] = {
        {"CR LF line ends", crlf},
        {"no final line feed", good.substr(0, good.size() - 1)},
        {"incomplete last group ignored", oddLength},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        installation_.WriteConfigText(c.text);
        ProgramResult result = installation_.Run({"IDSTAMM", kTerminals[0], File(), "1"});
        EXPECT_EQ(result.exitStatus, 0) << result.out;
        EXPECT_EQ(result.out.substr(0, 40), "Mit Datenbank verbunden! Schema: ORVADAT");
    }
}

} // namespace
