// The progress indicator appears on standard error only when that is a
// terminal, and changes neither standard output nor the file.
#include "support/installation.h"
#include "support/test_db.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

const char kFixture[] =
    "INSERT INTO Orvadat.Orv1140Trm (TrmNam) VALUES ('T1');"
    "INSERT INTO Orvadat.Orv301Asw (AswNum, AswGvo, AswBkl) VALUES "
    "  ('1', CURDATE(), 'T'), ('2', CURDATE(), 'T'), ('3', CURDATE(), 'T');"
    "INSERT INTO Orvadat.Orv113Awv (AwvNum, AwvSto) VALUES ('1', 1), ('2', 2), ('3', 3);"
    "INSERT INTO Orvadat.Orv301Awb (AWBASW, AWBBKL, AWBZUV) VALUES "
    "  ('1', 'T', 1), ('2', 'T', 1), ('3', 'T', 1);"
    "INSERT INTO Orvadat.MGSST35P (M35TRM, M35BKL, M35LES, M35BCH) VALUES ('T1', 'T', '01', '1');";

struct TerminalRun {
    int exitStatus;
    std::string out;      // standard output, a pipe
    std::string terminal; // what arrived on the terminal that was standard error
};

std::string ReadAllFrom(int fd) {
    std::string bytes;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) {
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
}

// Runs preluxa with standard error on a pseudo terminal.
TerminalRun RunWithTerminalStderr(const Installation &installation,
                                  const std::vector<std::string> &args) {
    int master, slave;
    EXPECT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    int outPipe[2];
    EXPECT_EQ(pipe(outPipe), 0);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(outPipe[1], 1);
        dup2(slave, 2);
        close(master);
        close(outPipe[0]);
        if (chdir(installation.workDir().c_str()) != 0) {
            _exit(127);
        }
        std::vector<char *> argv = {const_cast<char *>(PRELUXA_BINARY)};
        for (const std::string &arg : args) {
            argv.push_back(const_cast<char *>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(PRELUXA_BINARY, argv.data());
        _exit(127);
    }
    close(slave);
    close(outPipe[1]);
    std::string out = ReadAllFrom(outPipe[0]);
    close(outPipe[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    std::string terminal = ReadAllFrom(master); // ends with EIO once the child is gone
    close(master);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, terminal};
}

TEST(ProgressTest, ShownOnATerminalOnlyAndClearedAtTheEnd) {
    LoadFixture(kFixture);
    Installation installation;
    installation.WriteTestLogin();
    std::string file = installation / "out.dnl";

    ProgramResult plain = installation.Run({"IDSTAMM", "T1", file, "1"});
    ASSERT_EQ(plain.exitStatus, 0);
    EXPECT_EQ(plain.err, "") << "nothing is shown when standard error is no terminal";
    std::string plainFile = ReadBytes(file);

    TerminalRun run = RunWithTerminalStderr(installation, {"IDSTAMM", "T1", file, "1"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, plain.out);
    EXPECT_EQ(ReadBytes(file), plainFile);
    EXPECT_EQ(run.terminal.rfind("\rAusweise: 0 von 3", 0), 0u) << run.terminal;
    EXPECT_NE(run.terminal.find("\rAusweise: 3 von 3"), std::string::npos) << run.terminal;
    ASSERT_GE(run.terminal.size(), 4u);
    EXPECT_EQ(run.terminal.substr(run.terminal.size() - 4), "\r\033[K");
}

} // namespace
