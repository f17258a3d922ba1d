// preluxa-batch: the job file, the command line, and whole batches run against
// the test server: which download files are replaced, kept or appended to,
// what the summary says, and that no temporary file stays behind.
#include "run/batch_jobs.h"
#include "support/installation.h"
#include "support/test_db.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Fields = std::vector<std::string>;

// ParseJobText on a one-line text: the fields of the job, or the reason.
struct LineResult {
    bool skipped;
    Fields fields;
    std::string reason;
};

LineResult ParseOneLine(const std::string &line) {
    std::vector<BatchJob> jobs;
    std::vector<JobFileError> errors;
    ParseJobText(line, &jobs, &errors);
    if (!errors.empty()) {
        return {false, {}, errors[0].reason};
    }
    if (jobs.empty()) {
        return {true, {}, ""};
    }
    const BatchJob &job = jobs[0];
    return {false, {job.function, job.terminal, job.path, job.mode}, ""};
}

TEST(BatchJobFile, SplitsFieldsAtBlanksAndTabsAndKeepsQuotedBlanks) {
    struct Case {
        std::string line;
        Fields fields;
    } cases[] = {
        {"IDSTAMM T1 out.dnl 1", {"IDSTAMM", "T1", "out.dnl", "1"}},
        {"IDSTAMM\tT1\t\tout.dnl  \t 0", {"IDSTAMM", "T1", "out.dnl", "0"}},
        {"  \tIDSTAMM T1 out.dnl 1 \t ", {"IDSTAMM", "T1", "out.dnl", "1"}},
        {"IDSTAMM \"Tor Nord\" \"Neue Dateien/t\tn.dnl\" 0",
         {"IDSTAMM", "Tor Nord", "Neue Dateien/t\tn.dnl", "0"}},
        {"IDSTAMM \"\" out.dnl \"\"", {"IDSTAMM", "", "out.dnl", ""}},
        {"IDSTAMM \"Tor \"\"A\"\"\" out.dnl 1", {"IDSTAMM", "Tor \"A\"", "out.dnl", "1"}},
        {"IDSTAMM T1 out.dnl 1\r", {"IDSTAMM", "T1", "out.dnl", "1"}},
        {"IDSTAMM #T1 out#1.dnl 1", {"IDSTAMM", "#T1", "out#1.dnl", "1"}},
        {"IDSTAMM T1 out.dnl 10 ", {"IDSTAMM", "T1", "out.dnl", "10"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        LineResult result = ParseOneLine(c.line);
        EXPECT_EQ(result.reason, "");
        EXPECT_FALSE(result.skipped);
        EXPECT_EQ(result.fields, c.fields);
    }
}

TEST(BatchJobFile, SkipsCommentsAndBlankLines) {
    for (const char *line : {"", " \t ", "\r", "#IDSTAMM T1 out.dnl 1", "  # comment", "\t#"}) {
        SCOPED_TRACE(line);
        LineResult result = ParseOneLine(line);
        EXPECT_TRUE(result.skipped);
        EXPECT_EQ(result.reason, "");
    }
}

TEST(BatchJobFile, RefusesMalformedLinesWithTheReason) {
    struct Case {
        std::string line;
        const char *reason;
    } cases[] = {
        {"IDSTAMM T1 out.dnl", "3 fields, expected 4: FUNCTION TERMINAL PATH MODE"},
        {"IDSTAMM", "1 field, expected 4: FUNCTION TERMINAL PATH MODE"},
        {"IDSTAMM T1 out.dnl 1 /d", "5 fields, expected 4: FUNCTION TERMINAL PATH MODE"},
        {"IDSTAMM Tor Nord out.dnl 1", "5 fields, expected 4: FUNCTION TERMINAL PATH MODE"},
        {"IDSTAMM \"T1 out.dnl 1", "a quoted field is not closed"},
        {"IDSTAMM T1 out.dnl \"1\"\"", "a quoted field is not closed"},
        {"IDSTAMM \"T1\"x out.dnl 1",
         "text right after a closing quote (separate the fields by blanks)"},
        {"IDSTAMM T\"1 out.dnl 1", "a double quote inside a field (quote the whole field)"},
        {"IDSTAMM T1 \"\" 1", "the path is empty"},
        {std::string("IDSTAMM T\0 out.dnl 1", 20), "a NUL byte"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(ParseOneLine(c.line).reason, c.reason);
    }
}

TEST(BatchJobFile, NumbersJobsAndErrorsByTheirLineInTheFile) {
    const std::string text = "# nightly download files\r\n"
                             "IDSTAMM T1 t1.dnl 1\r\n"
                             "IDSTAMM T2\n"
                             "\n"
                             "IDSTAMM \"Tor Nord\" t3.dnl 0\n"
                             "IDSTAMM \"T4 t4.dnl 1\n"
                             "IDSTAMM T5 t5.dnl 1";
    std::vector<BatchJob> jobs;
    std::vector<JobFileError> errors;
    EXPECT_FALSE(ParseJobText(text, &jobs, &errors));
    std::vector<int> jobLines;
    for (const BatchJob &job : jobs) {
        jobLines.push_back(job.line);
    }
    EXPECT_EQ(jobLines, (std::vector<int>{2, 5, 7}));
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].line, 3);
    EXPECT_EQ(errors[1].line, 6);
    EXPECT_EQ(jobs[2].path, "t5.dnl") << "a last line without a line feed counts";
}

constexpr char kFixture[] =
    "INSERT INTO Orvadat.Orv1140Trm (TrmNam, TRMMOD, TRMSAL) VALUES "
    "  ('T1', '7744-010', 'SET1'), ('T2', '7744-010', 'SET2'), ('T3', '7744-010', 'SET3'),"
    "  ('TLONG', '7744-010', 'SET-TOO-LONG1');"
    "INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo, AswPnr, AswBkl, AswAtp, AswSpr, AswPin) "
    "  VALUES ('1001', CURDATE() - INTERVAL 10 DAY, '000000000777', 'A', 2, 1, '1234');"
    "INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto) VALUES ('1001', 12345);"
    "INSERT INTO Orvadat.Orv301Awb (AWBASW, AWBBKL, AWBZUV) VALUES ('1001', 'A', 5);"
    "INSERT INTO Orvadat.MGSST35P (M35TRM, M35BKL, M35LES, M35BCH) VALUES "
    "  ('T1', 'A', '01', '1'), ('T1', 'A', '01', '0'), ('T2', 'A', '01', '1'),"
    "  ('T2', 'A', '01', '0'), ('T3', 'A', '01', '1'), ('T3', 'A', '01', '0'),"
    "  ('TLONG', 'A', '01', '1');";

// Summary and total lines with every duration as "T s" and the process id
// in temporary file names as "PID", so whole outputs can be compared.
std::string MaskVarying(const std::string &out) {
    std::string masked = std::regex_replace(out, std::regex("[0-9]+\\.[0-9] s\n"), "T s\n");
    return std::regex_replace(masked, std::regex("\\.tmp\\.[0-9]+\\."), ".tmp.PID.");
}

std::vector<std::string> SortedLines(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

class BatchTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        LoadFixture(kFixture);
        validFrom_ = QueryValue("SELECT DATE_FORMAT(CURDATE() - INTERVAL 10 DAY, '%Y%m%d')");
    }
    void SetUp() override {
        installation_.WriteTestLogin();
    }

    // The IDSTAMM line of badge 1001 on terminal Tn.
    static std::string Line(int terminal) {
        return "\"1001\",\"" + validFrom_ + "\",\"\",\"12345\",\"1\",\"1\",\"1\",\"SET" +
               std::to_string(terminal) + "\",\"001\",\"A  \",\"777\",\"1001\",\"2\",\"1234\"\r\n";
    }
    // A path in the working directory, where the batch runs.
    std::string Work(const std::string &name) const {
        return installation_.workDir() + "/" + name;
    }
    // Writes the job file jobs.txt and runs the batch in the working directory.
    ProgramResult Batch(const std::string &jobText, std::vector<std::string> options = {}) const {
        WriteBytes(Work("jobs.txt"), jobText);
        options.insert(options.begin(), "jobs.txt");
        return RunProgram(PRELUXA_BATCH_BINARY, options, installation_.workDir());
    }
    // The names in the working directory, to see that nothing else was left.
    std::set<std::string> WorkFiles() const {
        std::set<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(installation_.workDir())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    // An executable shell script standing in for preluxa.
    std::string StandIn(const std::string &body) const {
        std::string path = installation_ / "stand-in";
        WriteBytes(path, "#!/bin/sh\n" + body + "\n");
        chmod(path.c_str(), 0755);
        return path;
    }

    static std::string validFrom_;
    Installation installation_;
};

std::string BatchTest::validFrom_;

TEST_F(BatchTest, SuccessfulJobReplacesTheFileAndKeepsItsPermissions) {
    WriteBytes(Work("t1.dnl"), "yesterday's file\r\n");
    chmod(Work("t1.dnl").c_str(), 0640);
    ProgramResult result = Batch("IDSTAMM T1 t1.dnl 1\n");
    EXPECT_EQ(result.exitStatus, 0) << result.out;
    EXPECT_EQ(MaskVarying(result.out),
              "ok      job 1 (line 1) T1 IDSTAMM: read 1 written 1 exit 0 T s\n"
              "total: jobs 1, ok 1, failed 0, skipped 0, T s\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(ReadBytes(Work("t1.dnl")), Line(1));
    struct stat info;
    ASSERT_EQ(stat(Work("t1.dnl").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(WorkFiles(), (std::set<std::string>{"jobs.txt", "t1.dnl"}));
}

TEST_F(BatchTest, AppendJobAppendsToThePreviousContent) {
    struct Case {
        const char *mode;
        bool previousFile;
        std::string expected;
    } cases[] = {
        {"0", true, "previous\r\n" + Line(2)},
        {"x1", true, "previous\r\n" + Line(2)},
        {"\"\"", true, "previous\r\n" + Line(2)},
        {"0", false, Line(2)},
        {"1", true, Line(2)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("mode ") + c.mode + (c.previousFile ? " over a file" : ""));
        std::remove(Work("t2.dnl").c_str());
        if (c.previousFile) {
            WriteBytes(Work("t2.dnl"), "previous\r\n");
        }
        ProgramResult result = Batch(std::string("IDSTAMM T2 t2.dnl ") + c.mode + "\n");
        EXPECT_EQ(result.exitStatus, 0) << result.out;
        EXPECT_EQ(ReadBytes(Work("t2.dnl")), c.expected);
        EXPECT_EQ(WorkFiles(), (std::set<std::string>{"jobs.txt", "t2.dnl"}));
    }
}

// A failed run never replaces the file: neither one refused before anything
// is opened, nor one that failed after preluxa had truncated its file, nor
// one that preluxa-batch could not even start.
TEST_F(BatchTest, FailedJobsKeepThePreviousFileByteForByte) {
    const std::string previous("previous \0\xff bytes\r\n", 19);
    for (const char *name : {"unknown.dnl", "long.dnl"}) {
        WriteBytes(Work(name), previous);
    }
    ProgramResult result = Batch("MGDNL99P T1 unknown.dnl 1\n"
                                 "IDSTAMM TLONG long.dnl 1\n"
                                 "IDSTAMM T1 missing/t1.dnl 1\n"
                                 "IDSTAMM T3 t3.dnl 1\n",
                                 {"-j", "1"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(MaskVarying(result.out),
              "FAILED  job 1 (line 1) T1 MGDNL99P: read - written - exit 255 T s\n"
              "    Unbekannte DNL-Funktion: MGDNL99P\n"
              "    preluxa-batch: unknown.dnl left as it was\n"
              "FAILED  job 2 (line 2) TLONG IDSTAMM: read - written - exit 255 T s\n"
              "    Mit Datenbank verbunden! Schema: ORVADAT\n"
              "    Terminal TLONG: TRMSAL zu lang (13 Zeichen, hoechstens 12)\n"
              "    preluxa-batch: long.dnl left as it was\n"
              "FAILED  job 3 (line 3) T1 IDSTAMM: read - written - exit - T s\n"
              "    preluxa-batch: cannot create missing/t1.dnl.tmp.PID.3: No such file or "
              "directory\n"
              "ok      job 4 (line 4) T3 IDSTAMM: read 1 written 1 exit 0 T s\n"
              "total: jobs 4, ok 1, failed 3, skipped 0, T s\n");
    EXPECT_EQ(ReadBytes(Work("unknown.dnl")), previous);
    EXPECT_EQ(ReadBytes(Work("long.dnl")), previous);
    EXPECT_EQ(ReadBytes(Work("t3.dnl")), Line(3));
    EXPECT_EQ(WorkFiles(),
              (std::set<std::string>{"jobs.txt", "unknown.dnl", "long.dnl", "t3.dnl"}));
}

TEST_F(BatchTest, TemporaryPathBeyondPreluxasLimitFailsWithoutTouchingTheFile) {
    // 199 characters are allowed for the target, but the temporary name
    // beside it is longer.
    const std::string name = std::string(190, 'n') + ".dnl";
    WriteBytes(Work(name), "keep");
    ProgramResult result = Batch("IDSTAMM T1 " + name + " 1\n");
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.out.find("    preluxa-batch: the temporary file " + name + ".tmp."),
              std::string::npos)
        << result.out;
    EXPECT_NE(
        result.out.find(" characters, preluxa accepts at most 199; " + name + " left as it was\n"),
        std::string::npos)
        << result.out;
    EXPECT_EQ(ReadBytes(Work(name)), "keep");
    EXPECT_EQ(WorkFiles(), (std::set<std::string>{"jobs.txt", name}));
}

TEST_F(BatchTest, ParallelWorkersBuildEveryFileAndKeepJobsForOneFileInOrder) {
    // chain.dnl is built by three jobs that must run one after the other,
    // while the other files are built alongside.
    WriteBytes(Work("chain.dnl"), "yesterday\r\n");
    ProgramResult result = Batch("IDSTAMM T1 chain.dnl 1\n"
                                 "IDSTAMM T1 t1.dnl 1\n"
                                 "IDSTAMM T2 ./chain.dnl 0\n"
                                 "IDSTAMM T2 t2.dnl 1\n"
                                 "IDSTAMM T3 t3.dnl 1\n"
                                 "IDSTAMM T3 ../work/chain.dnl 0\n"
                                 "IDSTAMM T1 t1.dnl 0\n",
                                 {"-j", "3"});
    EXPECT_EQ(result.exitStatus, 0) << result.out;
    EXPECT_EQ(ReadBytes(Work("chain.dnl")), Line(1) + Line(2) + Line(3));
    EXPECT_EQ(ReadBytes(Work("t1.dnl")), Line(1) + Line(1));
    EXPECT_EQ(ReadBytes(Work("t2.dnl")), Line(2));
    EXPECT_EQ(ReadBytes(Work("t3.dnl")), Line(3));
    EXPECT_EQ(SortedLines(MaskVarying(result.out)),
              SortedLines("ok      job 1 (line 1) T1 IDSTAMM: read 1 written 1 exit 0 T s\n"
                          "ok      job 2 (line 2) T1 IDSTAMM: read 1 written 1 exit 0 T s\n"
                          "ok      job 3 (line 3) T2 IDSTAMM: read 1 written 1 exit 0 T s\n"
                          "ok      job 4 (line 4) T2 IDSTAMM: read 1 written 1 exit 0 T s\n"
                          "ok      job 5 (line 5) T3 IDSTAMM: read 1 written 1 exit 0 T s\n"
                          "ok      job 6 (line 6) T3 IDSTAMM: read 1 written 1 exit 0 T s\n"
                          "ok      job 7 (line 7) T1 IDSTAMM: read 1 written 1 exit 0 T s\n"
                          "total: jobs 7, ok 7, failed 0, skipped 0, T s\n"));
    EXPECT_TRUE(
        MaskVarying(result.out).ends_with("\ntotal: jobs 7, ok 7, failed 0, skipped 0, T s\n"))
        << "the total line comes last";
    EXPECT_EQ(WorkFiles(),
              (std::set<std::string>{"jobs.txt", "chain.dnl", "t1.dnl", "t2.dnl", "t3.dnl"}));
}

// Each stand-in job marks itself as running, waits until three are marked
// and writes how many it saw, then how many run after a pause.
TEST_F(BatchTest, RunsAsManyJobsAtOnceAsWorkersAndNoMore) {
    const std::string marks = installation_ / "running";
    MakeDirs(marks);
    std::string standIn = StandIn("m='" + marks +
                                  "'; touch \"$m/$2\"; i=0; n=$(ls \"$m\" | wc -l)\n"
                                  "while [ $n -lt 3 ] && [ $i -lt 200 ]; do\n"
                                  "  sleep 0.05; i=$((i+1)); n=$(ls \"$m\" | wc -l)\n"
                                  "done\n"
                                  "sleep 0.2; echo $n $(ls \"$m\" | wc -l) > \"$3\"; rm \"$m/$2\"");
    std::string jobs;
    for (int job = 1; job <= 6; ++job) {
        jobs += "IDSTAMM T" + std::to_string(job) + " t" + std::to_string(job) + ".dnl 1\n";
    }
    ProgramResult result = Batch(jobs, {"-j", "3", "--preluxa", standIn});
    EXPECT_EQ(result.exitStatus, 0) << result.out;
    for (int job = 1; job <= 6; ++job) {
        SCOPED_TRACE(job);
        std::string seen = ReadBytes(Work("t" + std::to_string(job) + ".dnl"));
        ASSERT_EQ(seen.size(), 4u) << seen;
        EXPECT_EQ(seen[0], '3') << "three jobs ran at once";
        EXPECT_GE(seen[2], '1');
        EXPECT_LE(seen[2], '3') << "never more than three";
    }
}

// An append job after a failed job for the same file would append to the old
// content; it is skipped. A later create job starts the file afresh.
TEST_F(BatchTest, AppendAfterAFailedJobForTheSameFileIsSkipped) {
    for (const char *name : {"a.dnl", "b.dnl"}) {
        WriteBytes(Work(name), "yesterday\r\n");
    }
    ProgramResult result = Batch("MGDNL99P T1 a.dnl 1\n"
                                 "IDSTAMM T2 a.dnl 0\n"
                                 "MGDNL99P T1 b.dnl 1\n"
                                 "IDSTAMM T1 b.dnl 1\n"
                                 "IDSTAMM T2 b.dnl 0\n",
                                 {"-j", "1"});
    EXPECT_EQ(result.exitStatus, 1);
    std::string out = MaskVarying(result.out);
    EXPECT_NE(out.find("SKIPPED job 2 (line 2) T2 IDSTAMM: read - written - exit - T s\n"
                       "    preluxa-batch: not started: job 1 for the same file failed; a.dnl "
                       "left as it was\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("total: jobs 5, ok 2, failed 2, skipped 1, T s\n"), std::string::npos)
        << out;
    EXPECT_EQ(ReadBytes(Work("a.dnl")), "yesterday\r\n");
    EXPECT_EQ(ReadBytes(Work("b.dnl")), Line(1) + Line(2));
}

TEST_F(BatchTest, MalformedJobFileRunsNothing) {
    ProgramResult result = Batch("IDSTAMM T1 t1.dnl 1\n"
                                 "# comment\n"
                                 "IDSTAMM \"T2 t2.dnl 1\n"
                                 "IDSTAMM T3 t3.dnl\n");
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "preluxa-batch: jobs.txt:3: a quoted field is not closed\n"
                          "preluxa-batch: jobs.txt:4: 3 fields, expected 4: FUNCTION TERMINAL "
                          "PATH MODE\n"
                          "preluxa-batch: no job was run\n");
    EXPECT_EQ(WorkFiles(), (std::set<std::string>{"jobs.txt"}));
}

TEST_F(BatchTest, CommandLineErrorsRunNothing) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{}, "preluxa-batch: no job file given\n"},
        {{"jobs.txt", "-j", "0"},
         "preluxa-batch: -j needs a whole number of at least 1, not '0'\n"},
        {{"jobs.txt", "-j", "2x"},
         "preluxa-batch: -j needs a whole number of at least 1, not '2x'\n"},
        {{"jobs.txt", "-j"}, "preluxa-batch: -j needs a value\n"},
        {{"jobs.txt", "--preluxa"}, "preluxa-batch: --preluxa needs a value\n"},
        {{"jobs.txt", "-x"}, "preluxa-batch: unknown option -x\n"},
        {{"jobs.txt", "more.txt"}, "preluxa-batch: only one job file, not jobs.txt and more.txt\n"},
        {{"missing.txt"}, "preluxa-batch: cannot read missing.txt: No such file or directory\n"},
        {{"jobs.txt", "--preluxa", "no/preluxa"},
         "preluxa-batch: cannot run no/preluxa: No such file or directory\n"},
    };
    WriteBytes(Work("jobs.txt"), "IDSTAMM T1 t1.dnl 1\n");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        ProgramResult result = RunProgram(PRELUXA_BATCH_BINARY, c.args, installation_.workDir());
        EXPECT_EQ(result.exitStatus, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.substr(0, c.message.size()), c.message);
        EXPECT_EQ(WorkFiles(), (std::set<std::string>{"jobs.txt"}));
    }
}

// Fields reach preluxa as single arguments, however they are spelled, with
// the temporary file as PATH, and preluxa runs in the batch's directory.
TEST_F(BatchTest, PassesEachFieldAsOneArgumentWithoutAShell) {
    std::string standIn =
        StandIn("printf '%s\\n' \"$#\" \"$1\" \"$2\" \"$3\" \"$4\" \"$(pwd)\" > \"$3\"");
    MakeDirs(Work("sub dir"));
    ProgramResult result =
        Batch("\"id stamm\" \"Tor \"\"A\"\" $HOME;`x`\" \"sub dir/a b.dnl\" \"0 *\"\n",
              {"--preluxa", standIn});
    EXPECT_EQ(result.exitStatus, 0) << result.out;
    EXPECT_EQ(MaskVarying(ReadBytes(Work("sub dir/a b.dnl"))),
              "4\nid stamm\nTor \"A\" $HOME;`x`\nsub dir/a b.dnl.tmp.PID.1\n0 *\n" +
                  installation_.workDir() + "\n");
    EXPECT_EQ(MaskVarying(result.out),
              "ok      job 1 (line 1) \"Tor \"\"A\"\" $HOME;`x`\" \"id stamm\": read - written - "
              "exit 0 T s\n"
              "total: jobs 1, ok 1, failed 0, skipped 0, T s\n");
}

// Whatever preluxa wrote before it failed is thrown away; the summary takes
// the counts from its totals line and repeats its last lines.
TEST_F(BatchTest, OutputOfAFailedRunIsDiscardedAndItsEndReported) {
    struct Case {
        const char *body;
        const char *mode;
        std::string report;
    } cases[] = {
        {"printf 'partial' >> \"$3\"; echo 'Ausweise gesamt: 5 davon in Datei gestellt: 2'; "
         "exit 1",
         "1",
         "FAILED  job 1 (line 1) T1 IDSTAMM: read 5 written 2 exit 1 T s\n"
         "    Ausweise gesamt: 5 davon in Datei gestellt: 2\n"
         "    preluxa-batch: t1.dnl left as it was\n"},
        {"printf 'partial' >> \"$3\"; printf 'one\\ntwo\\n\\nthree\\nfour' >&2; kill -9 $$", "0",
         "FAILED  job 1 (line 1) T1 IDSTAMM: read - written - signal 9 T s\n"
         "    two\n"
         "    three\n"
         "    four\n"
         "    preluxa-batch: t1.dnl left as it was\n"},
        {"exit 0", "0", "ok      job 1 (line 1) T1 IDSTAMM: read - written - exit 0 T s\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.body);
        WriteBytes(Work("t1.dnl"), "previous\r\n");
        ProgramResult result = Batch(std::string("IDSTAMM T1 t1.dnl ") + c.mode + "\n",
                                     {"--preluxa", StandIn(c.body)});
        std::string out = MaskVarying(result.out);
        EXPECT_EQ(out.substr(0, out.find("total:")), c.report);
        EXPECT_EQ(ReadBytes(Work("t1.dnl")), "previous\r\n")
            << "the append copy, unchanged, or the file kept";
        EXPECT_EQ(WorkFiles(), (std::set<std::string>{"jobs.txt", "t1.dnl"}));
    }
}

// SIGTERM to the batch (a nightly job's time limit) skips the jobs not yet
// started at once and ends the running job, which then fails.
TEST_F(BatchTest, StopSignalEndsRunningJobsAndSkipsTheRest) {
    WriteBytes(Work("t1.dnl"), "previous\r\n");
    std::string standIn = StandIn("kill -TERM $PPID; exec sleep 30");
    ProgramResult result = Batch("IDSTAMM T1 t1.dnl 1\n"
                                 "IDSTAMM T2 t2.dnl 1\n",
                                 {"-j", "1", "--preluxa", standIn});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(MaskVarying(result.out),
              "SKIPPED job 2 (line 2) T2 IDSTAMM: read - written - exit - T s\n"
              "    preluxa-batch: not started: the batch was stopped by signal 15\n"
              "FAILED  job 1 (line 1) T1 IDSTAMM: read - written - signal 15 T s\n"
              "    preluxa-batch: t1.dnl left as it was\n"
              "total: jobs 2, ok 0, failed 1, skipped 1, T s\n");
    EXPECT_EQ(ReadBytes(Work("t1.dnl")), "previous\r\n");
    EXPECT_EQ(WorkFiles(), (std::set<std::string>{"jobs.txt", "t1.dnl"}));
}

} // namespace
