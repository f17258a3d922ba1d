#include "support/writer_run.h"

#include "common/run_state.h"
#include "common/text.h"
#include "db/db.h"
#include "lookup/terminal.h"
#include "support/capture.h"
#include "support/process.h"
#include "support/test_db.h"

#include <gtest/gtest.h>
#include <mysql.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

WriterRun RunWriterHere(WriterFunction writer, const std::string &terminalName, bool verbose) {
    TerminalRecord terminal;
    std::memset(&terminal, 0, sizeof terminal);
    if (!CopyText(terminal.TrmNam, sizeof terminal.TrmNam, terminalName.c_str())) {
        throw std::runtime_error("terminal name too long");
    }
    std::FILE *file = std::tmpfile();
    DownloadFile = file;
    VerboseMode = verbose ? 1 : 0;
    int result = 0;
    std::string out = CaptureStdout([&] {
        LookupTerminal(&terminal);
        result = writer("unused", &terminal);
    });
    std::fflush(file);
    WriterRun run{result, out, ReadWholeStream(file)};
    std::fclose(file);
    DownloadFile = nullptr;
    VerboseMode = 0;
    return run;
}

long KillAt = 0;
long WalkStart = 0;
unsigned long ChildConnectionId = 0;

void KillOwnConnection(long statementNumber) {
    if (statementNumber - WalkStart != KillAt) {
        return;
    }
    MYSQL *admin = mysql_init(nullptr);
    if (mysql_real_connect(admin, "localhost", kAdminUser, kAdminPassword, nullptr, 0, nullptr,
                           0) == nullptr) {
        std::_Exit(90);
    }
    std::string kill = "KILL CONNECTION " + std::to_string(ChildConnectionId);
    if (mysql_query(admin, kill.c_str()) != 0) {
        std::_Exit(91);
    }
    mysql_close(admin);
}

} // namespace

WriterRun RunWriter(WriterFunction writer, const std::string &terminalName, bool verbose) {
    ConnectGenerator();
    return RunWriterHere(writer, terminalName, verbose);
}

WriterRun RunWriterInChild(WriterFunction writer, const std::string &terminalName,
                           const std::function<void()> &prepare) {
    ScratchDir dir;
    std::string resultPath = dir / "result";
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        // A connection of its own: the parent's session must survive whatever
        // the child does to its connection.
        if (DbConnect(kReadOnlyUser, kReadOnlyPassword, "localhost", "ORVADAT") != 0) {
            std::_Exit(92);
        }
        prepare();
        WriterRun run = RunWriterHere(writer, terminalName, false);
        std::string encoded = std::to_string(run.result) + "\n" + std::to_string(run.out.size()) +
                              "\n" + run.out + run.file;
        WriteBytes(resultPath, encoded);
        std::_Exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("writer child failed with status " + std::to_string(status));
    }
    std::string encoded = ReadBytes(resultPath);
    size_t first = encoded.find('\n');
    size_t second = encoded.find('\n', first + 1);
    int result = std::stoi(encoded.substr(0, first));
    size_t outSize =
        std::stoul(encoded.substr(second == std::string::npos ? 0 : first + 1, second - first - 1));
    return {result, encoded.substr(second + 1, outSize), encoded.substr(second + 1 + outSize)};
}

WriterRun RunWriterWithLostConnection(WriterFunction writer, const std::string &terminalName,
                                      long killBeforeStatement) {
    return RunWriterInChild(writer, terminalName, [killBeforeStatement] {
        ChildConnectionId = mysql_thread_id(DbConnectionHandle());
        KillAt = killBeforeStatement;
        WalkStart = DbStatementsSent();
        SetDbStatementHookForTests(KillOwnConnection);
    });
}

void ExpectWholeRecords(const std::string &file, size_t records, size_t length) {
    EXPECT_EQ(file.size(), records * length);
    EXPECT_EQ(file.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(file.find('\0'), std::string::npos);
}
