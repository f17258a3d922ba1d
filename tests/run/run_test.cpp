// The generator end to end, as a terminal manager calls it: parameters, the
// configuration file, the connection, the download file and the exit status.
#include "support/installation.h"
#include "support/test_db.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kFailed = 255; // exit status -1 as the shell sees it

const char kConnected[] = "Mit Datenbank verbunden! Schema: ORVADAT\n";
const char kTotalsOne[] = "Ausweise gesamt: 1 davon in Datei gestellt: 1\n";

// One terminal and one badge with a time authorisation and one access item.
const char kFixture[] =
    "INSERT INTO Orvadat.Orv1140Trm (TrmNam, TRMMOD, TRMSAL) VALUES ('T1', '7744-010', 'SET1');"
    "INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo, AswPnr, AswBkl, AswAtp, AswSpr, AswPin) "
    "  VALUES ('1001', CURDATE() - INTERVAL 10 DAY, '000000000777', 'A', 2, 1, '1234');"
    "INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto) VALUES ('1001', 12345);"
    "INSERT INTO Orvadat.Orv301Awb (AWBASW, AWBBKL, AWBZUV) VALUES ('1001', 'A', 5);"
    "INSERT INTO Orvadat.MGSST35P (M35TRM, M35BKL, M35LES, M35BCH) "
    "  VALUES ('T1', 'A', '01', '1'), ('T1', 'A', '01', '0');";

class RunTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        LoadFixture(kFixture);
        validFrom_ = QueryValue("SELECT DATE_FORMAT(CURDATE() - INTERVAL 10 DAY, '%Y%m%d')");
    }
    void SetUp() override {
        installation_.WriteTestLogin();
    }
    std::string ExpectedLine() const {
        return "\"1001\",\"" + validFrom_ +
               "\",\"\",\"12345\",\"1\",\"1\",\"1\",\"SET1\",\"001\",\"A  \",\"777\",\"1001\","
               "\"2\",\"1234\"\r\n";
    }
    std::string File() const {
        return installation_ / "out.dnl";
    }
    ProgramResult Run(std::vector<std::string> args) const {
        return installation_.Run(args);
    }

    static std::string validFrom_;
    Installation installation_;
};

std::string RunTest::validFrom_;

TEST_F(RunTest, TooFewParametersPrintTheUsageBlock) {
    const std::string usage = "Aufruf: PRELUXA [Param1] [Param2] [Param3] [Param4] /d \n"
                              "Param1: DNL-Funktion\n"
                              "Param2: Terminal-Name\n"
                              "Param3: Pfad der DNL-Datei\n"
                              "Param4: 1: neu 0: dran h\xE4ngen\n";
    std::vector<std::string> args;
    for (int count = 0; count <= 3; ++count) {
        SCOPED_TRACE(count);
        ProgramResult result = Run(args);
        EXPECT_EQ(result.exitStatus, kFailed);
        EXPECT_EQ(result.out, "Anzahl Parameter(mind. 4) unterschritten! AnzParam: " +
                                  std::to_string(count) + usage);
        args.push_back(count == 2 ? File() : "X");
    }
    EXPECT_FALSE(FileExists(File()));
}

TEST_F(RunTest, BuildsTheFileAndReportsSuccess) {
    ProgramResult result = Run({"IDSTAMM", "T1", File(), "1"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, std::string(kConnected) + kTotalsOne);
    EXPECT_EQ(ReadBytes(File()), ExpectedLine());
}

TEST_F(RunTest, DnlFunctionIsMatchedWithoutRegardToCase) {
    ProgramResult result = Run({"idStamm", "T1", File(), "1"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(ReadBytes(File()), ExpectedLine());
}

TEST_F(RunTest, OnlyAFirstCharacterOneCreatesANewFile) {
    struct Case {
        const char *mode;
        bool fresh;
    } cases[] = {{"1", true}, {"10", true}, {"0", false}, {"2", false}, {"x", false}, {"", false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("mode '") + c.mode + "'");
        WriteBytes(File(), "old");
        ProgramResult result = Run({"IDSTAMM", "T1", File(), c.mode});
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(ReadBytes(File()), (c.fresh ? "" : "old") + ExpectedLine());
    }
}

// Fixed-length files have no line end: appended records follow the last byte.
TEST_F(RunTest, AppendedFixedLengthRecordsFollowDirectly) {
    const std::string record = "1001         " + validFrom_ + "00000000" + "11" + "XXXX,XX-" +
                               "001" + "A  " + "   ";
    ASSERT_EQ(Run({"MGDNL31P", "T1", File(), "1"}).exitStatus, 0);
    EXPECT_EQ(ReadBytes(File()), record);
    ASSERT_EQ(Run({"mgdnl31p", "T1", File(), "0"}).exitStatus, 0);
    EXPECT_EQ(ReadBytes(File()), record + record);
}

TEST_F(RunTest, VerboseOnlyWithExactlyFiveParametersAndLowerCaseD) {
    const std::string verboseLine = "Aws: 1001 Zeitberechtigung: 1\n";
    struct Case {
        std::vector<std::string> extra;
        bool verbose;
    } cases[] = {
        {{"/d"}, true}, {{"/D"}, false}, {{"-d"}, false}, {{"/d", "x"}, false}, {{}, false}};
    for (const Case &c : cases) {
        std::vector<std::string> args = {"IDSTAMM", "T1", File(), "1"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        ProgramResult result = Run(args);
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.out, std::string(kConnected) + (c.verbose ? verboseLine : "") + kTotalsOne)
            << "extra parameters: " << c.extra.size();
    }
}

TEST_F(RunTest, UnknownDnlFunctionIsRefusedBeforeAnythingIsTouched) {
    WriteBytes(File(), "keep me");
    installation_.WriteLogin("nobody", "wrong", "localhost", "orvadat.");
    for (const char *mode : {"1", "0"}) {
        ProgramResult result = Run({"MGDNL99P", "T1", File(), mode});
        EXPECT_EQ(result.exitStatus, kFailed);
        EXPECT_EQ(result.out, "Unbekannte DNL-Funktion: MGDNL99P\n") << "no connection is made";
        EXPECT_EQ(ReadBytes(File()), "keep me");
    }
}

TEST_F(RunTest, OverlongParametersAreRefusedNotCut) {
    struct Case {
        int position;
        size_t capacity;
    } cases[] = {{1, 19}, {2, 255}, {3, 199}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.position);
        std::vector<std::string> args = {"IDSTAMM", "T1", File(), "1"};
        args[c.position - 1] = std::string(c.capacity + 1, 'A');
        ProgramResult result = Run(args);
        EXPECT_EQ(result.exitStatus, kFailed);
        EXPECT_EQ(result.out, "Param" + std::to_string(c.position) + " zu lang: " +
                                  std::to_string(c.capacity + 1) + " Zeichen, hoechstens " +
                                  std::to_string(c.capacity) + " erlaubt!\n");
        EXPECT_FALSE(FileExists(File()));
    }
    // At the capacity the terminal name is accepted (it names no terminal).
    ProgramResult result = Run({"IDSTAMM", std::string(255, 'T'), File(), "1"});
    EXPECT_EQ(result.exitStatus, 0);
}

TEST_F(RunTest, ConnectionFailureEchoesTheLoginWithoutPasswordAndLeavesTheFile) {
    struct Case {
        const char *password;
        const char *shown;
    } cases[] = {{"wrong", "***"}, {"", ""}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.password);
        installation_.WriteLogin("preluxa_ro", c.password, "localhost", "orvadat.");
        WriteBytes(File(), "previous file");
        ProgramResult result = Run({"IDSTAMM", "T1", File(), "1"});
        EXPECT_EQ(result.exitStatus, kFailed);
        EXPECT_EQ(result.out, std::string("DB-Connect-Error: 1045!Name:preluxa_ro Pwd:") + c.shown +
                                  " Net:localhost Schema:ORVADAT\n");
        EXPECT_EQ(ReadBytes(File()), "previous file");
    }
}

TEST_F(RunTest, MissingConfigurationEntryGivesAnEmptyValue) {
    installation_.WriteConfigText(ConfigEntry(1, "LOGIN", "preluxa_ro") +
                                  ConfigEntry(3, "NET8", "localhost") +
                                  ConfigEntry(4, "SCHEMA", "orvadat."));
    ProgramResult result = Run({"IDSTAMM", "T1", File(), "1"});
    EXPECT_EQ(result.exitStatus, kFailed);
    EXPECT_EQ(result.out,
              "DB-Connect-Error: 1045!Name:preluxa_ro Pwd: Net:localhost Schema:ORVADAT\n");
}

// Without a login the client library would fall back to the operating
// system user; the run is refused instead.
TEST_F(RunTest, NoLoginIsRefusedBeforeConnecting) {
    const std::string message =
        "Kein Datenbank-Login (LOGIN) in ../../files/querandol.ini gefunden!\n";
    WriteBytes(File(), "keep");
    installation_.WriteConfigText(ConfigEntry(2, "PASS", "preluxa-ro"));
    EXPECT_EQ(Run({"IDSTAMM", "T1", File(), "1"}).out, message);
    std::remove((installation_ / "files/querandol.ini").c_str());
    ProgramResult result = Run({"IDSTAMM", "T1", File(), "1"});
    EXPECT_EQ(result.exitStatus, kFailed);
    EXPECT_EQ(result.out, message) << "a missing file gives no login";
    EXPECT_EQ(ReadBytes(File()), "keep");
}

TEST_F(RunTest, SchemaIsTheStoredValueWithoutItsLastCharacterInUpperCase) {
    installation_.WriteLogin("preluxa_ro", "preluxa-ro", "localhost", "OrvaDatX");
    ProgramResult result = Run({"IDSTAMM", "T1", File(), "1"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out.substr(0, sizeof kConnected - 1), kConnected);
}

TEST_F(RunTest, OverlongOrMalformedConfigurationIsRefused) {
    struct Case {
        std::string text;
        std::string message;
    } cases[] = {
        {ConfigEntry(1, "LOGIN", std::string(51, 'u')),
         "Konfigurationswert LOGIN zu lang: 51 Zeichen, hoechstens 50 erlaubt!\n"},
        {ConfigEntry(1, "LOGIN", "u") + ConfigEntry(2, "PASS", "p") + ConfigEntry(3, "NET8", "h") +
             ConfigEntry(4, "SCHEMA", std::string(22, 's')),
         "Konfigurationswert SCHEMA zu lang: 22 Zeichen, hoechstens 21 erlaubt!\n"},
        {"PRELUXA;DB;\nno separator here\n",
         "Konfigurationsdatei ../../files/querandol.ini fehlerhaft (Zeile 2)!\n"},
    };
    for (const Case &c : cases) {
        installation_.WriteConfigText(c.text);
        ProgramResult result = Run({"IDSTAMM", "T1", File(), "1"});
        EXPECT_EQ(result.exitStatus, kFailed);
        EXPECT_EQ(result.out, c.message);
        EXPECT_FALSE(FileExists(File()));
    }
}

TEST_F(RunTest, DownloadFileThatCannotBeOpenedIsReported) {
    std::string path = installation_ / "missing-dir/out.dnl";
    ProgramResult result = Run({"IDSTAMM", "T1", path, "1"});
    EXPECT_EQ(result.exitStatus, kFailed);
    EXPECT_EQ(result.out, std::string(kConnected) + "Downloadfile " + path +
                              " konnte nicht geoeffnet werden!\n");
}

TEST_F(RunTest, WriteErrorOfTheDownloadFileIsAFailure) {
    if (!FileExists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    ProgramResult result = Run({"IDSTAMM", "T1", "/dev/full", "1"});
    EXPECT_EQ(result.exitStatus, kFailed);
    EXPECT_NE(result.out.find("Downloadfile /dev/full konnte nicht vollstaendig geschrieben "
                              "werden!\n"),
              std::string::npos)
        << result.out;
}

// Kept last: it changes the schema.
TEST_F(RunTest, WriterFailureGivesItsAbortMessageAndKeepsTheFileClosedNormally) {
    ExecSql("DROP TABLE Orvadat.Orv113Awv");
    ProgramResult result = Run({"IDSTAMM", "T1", File(), "1"});
    LoadFixture(kFixture);
    EXPECT_EQ(result.exitStatus, kFailed);
    EXPECT_EQ(result.out, std::string(kConnected) +
                              "Ausweise gesamt: 0 davon in Datei gestellt: 0\n"
                              "Programmabbruch: Fehler bei Erstellung der Datei IDSTAMM!\n");
    EXPECT_EQ(ReadBytes(File()), "");
}

} // namespace
