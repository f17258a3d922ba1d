// Benchmark helper: the lower bound of a generator run and the runner that
// times both.
//
//   preluxa-replay extract LOG USER OUT
//       Writes the statements that the one connection of USER sent, as the
//       server's general query log LOG recorded them, to OUT, one a line;
//       prints their number. Fails when the log holds no or several
//       connections of USER, or a statement that spans lines.
//   preluxa-replay replay STATEMENTS USER PASSWORD SCHEMA
//       Connects as the generator does (latin1, host localhost, the socket of
//       MYSQL_UNIX_PORT) and sends every statement of the file in turn:
//       query, store the result, fetch every row, free. Nothing else.
//   preluxa-replay time OUT DIR -- PROGRAM [ARG...]
//       Runs PROGRAM in DIR with its standard output in OUT and prints
//       "wall user system maxrss status": seconds of wall time and of CPU
//       time, the peak resident set in KiB and the exit status.
//
// The replay maps the statement file before it connects, so its loop is the
// client library and the round trips and nothing else.
#include <mysql.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

int Usage() {
    std::fputs("usage: preluxa-replay extract LOG USER OUT\n"
               "       preluxa-replay replay STATEMENTS USER PASSWORD SCHEMA\n"
               "       preluxa-replay time OUT DIR -- PROGRAM [ARG...]\n",
               stderr);
    return 2;
}

bool ReadFile(const char *path, std::string *content) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    *content = buffer.str();
    return true;
}

// One entry of the general query log: "[YYMMDD HH:MM:SS]\t<blanks>ID COMMAND\tARGUMENT".
// Lines that do not have this shape continue the previous entry's argument.
struct LogEntry {
    long id;
    std::string_view command;
    std::string_view argument;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool ParseLogEntry(std::string_view line, LogEntry *entry) {
    size_t pos = 0;
    // The time stamp is written only when it changed since the last entry.
    if (line.size() > 15 && IsDigit(line[0]) && line[6] == ' ') {
        pos = line.find('\t');
        if (pos == std::string_view::npos) {
            return false;
        }
    }
    if (pos >= line.size() || line[pos] != '\t') {
        return false;
    }
    while (pos < line.size() && (line[pos] == '\t' || line[pos] == ' ')) {
        ++pos;
    }
    size_t idStart = pos;
    long id = 0;
    while (pos < line.size() && IsDigit(line[pos])) {
        id = id * 10 + (line[pos] - '0');
        ++pos;
    }
    if (pos == idStart || pos >= line.size() || line[pos] != ' ') {
        return false;
    }
    size_t tab = line.find('\t', pos + 1);
    if (tab == std::string_view::npos) {
        return false;
    }
    entry->id = id;
    entry->command = line.substr(pos + 1, tab - pos - 1);
    entry->argument = line.substr(tab + 1);
    return true;
}

int Extract(const char *logPath, const char *user, const char *outPath) {
    std::string log;
    if (!ReadFile(logPath, &log)) {
        std::fprintf(stderr, "extract: cannot read %s\n", logPath);
        return 1;
    }
    const std::string connectPrefix = std::string(user) + "@";
    long connection = -1;
    long previousId = -1; // id of the entry the next continuation line would belong to
    bool seenEntry = false;
    std::vector<std::string_view> statements;
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find('\n', start);
        if (end == std::string::npos) {
            end = log.size();
        }
        std::string_view line(log.data() + start, end - start);
        start = end + 1;
        LogEntry entry;
        if (!ParseLogEntry(line, &entry)) {
            // The file's heading comes before any entry; after one, the line
            // belongs to its argument.
            if (seenEntry && previousId == connection && connection >= 0) {
                std::fprintf(stderr, "extract: statement spanning lines: %.*s\n",
                             static_cast<int>(line.size()), line.data());
                return 1;
            }
            continue;
        }
        seenEntry = true;
        previousId = entry.id;
        if (entry.command == "Connect" && entry.argument.starts_with(connectPrefix)) {
            if (connection >= 0) {
                std::fprintf(stderr, "extract: more than one connection of %s\n", user);
                return 1;
            }
            connection = entry.id;
        } else if (entry.id == connection && entry.command == "Query") {
            statements.push_back(entry.argument);
        } else if (entry.id == connection && entry.command != "Quit") {
            std::fprintf(stderr, "extract: unexpected command %.*s of the connection\n",
                         static_cast<int>(entry.command.size()), entry.command.data());
            return 1;
        }
    }
    if (connection < 0) {
        std::fprintf(stderr, "extract: no connection of %s in %s\n", user, logPath);
        return 1;
    }
    std::FILE *out = std::fopen(outPath, "wb");
    if (out == nullptr) {
        std::fprintf(stderr, "extract: cannot write %s\n", outPath);
        return 1;
    }
    for (std::string_view statement : statements) {
        std::fwrite(statement.data(), 1, statement.size(), out);
        std::fputc('\n', out);
    }
    if (std::fclose(out) != 0) {
        std::fprintf(stderr, "extract: cannot write %s\n", outPath);
        return 1;
    }
    std::printf("%zu\n", statements.size());
    return 0;
}

int Replay(const char *statementsPath, const char *user, const char *password, const char *schema) {
    // Mapped and faulted in before connecting, so that the loop below sends
    // straight from the file's pages: no read calls, no copies.
    int fd = open(statementsPath, O_RDONLY);
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0) {
        std::fprintf(stderr, "replay: cannot read %s\n", statementsPath);
        return 1;
    }
    size_t size = static_cast<size_t>(info.st_size);
    const char *text = "";
    if (size > 0) {
        void *mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (mapped == MAP_FAILED) {
            std::perror("replay: mmap");
            return 1;
        }
        text = static_cast<const char *>(mapped);
    }
    close(fd);

    MYSQL connection;
    if (mysql_init(&connection) == nullptr) {
        std::fputs("replay: mysql_init failed\n", stderr);
        return 1;
    }
    mysql_options(&connection, MYSQL_SET_CHARSET_NAME, "latin1");
    if (mysql_real_connect(&connection, "localhost", user, password, schema, 0, nullptr, 0) ==
        nullptr) {
        std::fprintf(stderr, "replay: cannot connect: %s\n", mysql_error(&connection));
        return 1;
    }
    long sent = 0;
    long rows = 0;
    int status = 0;
    const char *end = text + size;
    for (const char *line = text; line < end;) {
        const char *newline = static_cast<const char *>(std::memchr(line, '\n', end - line));
        const char *lineEnd = newline == nullptr ? end : newline;
        ++sent;
        if (mysql_real_query(&connection, line, static_cast<unsigned long>(lineEnd - line)) != 0) {
            std::fprintf(stderr, "replay: statement %ld failed: %s\n", sent,
                         mysql_error(&connection));
            status = 1;
            break;
        }
        MYSQL_RES *result = mysql_store_result(&connection);
        if (result != nullptr) {
            while (mysql_fetch_row(result) != nullptr) {
                ++rows;
            }
            mysql_free_result(result);
        } else if (mysql_errno(&connection) != 0) {
            std::fprintf(stderr, "replay: result of statement %ld failed: %s\n", sent,
                         mysql_error(&connection));
            status = 1;
            break;
        }
        line = lineEnd + 1;
    }
    mysql_close(&connection);
    if (status == 0) {
        std::printf("statements: %ld rows: %ld\n", sent, rows);
    }
    return status;
}

double Seconds(const timeval &t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

int Time(const char *outPath, const char *dir, char **command) {
    timespec begin;
    clock_gettime(CLOCK_MONOTONIC, &begin);
    pid_t pid = fork();
    if (pid < 0) {
        std::perror("time: fork");
        return 1;
    }
    if (pid == 0) {
        int out = open(outPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || dup2(out, STDOUT_FILENO) < 0 || chdir(dir) != 0) {
            std::perror("time: child set-up");
            _exit(127);
        }
        close(out);
        execv(command[0], command);
        std::perror("time: exec");
        _exit(127);
    }
    int status = 0;
    rusage usage;
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::perror("time: wait4");
            return 1;
        }
    }
    timespec finish;
    clock_gettime(CLOCK_MONOTONIC, &finish);
    double wall = static_cast<double>(finish.tv_sec - begin.tv_sec) +
                  static_cast<double>(finish.tv_nsec - begin.tv_nsec) / 1e9;
    int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::printf("%.4f %.4f %.4f %ld %d\n", wall, Seconds(usage.ru_utime), Seconds(usage.ru_stime),
                usage.ru_maxrss, exitStatus);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        return Usage();
    }
    std::string_view mode = argv[1];
    if (mode == "extract" && argc == 5) {
        return Extract(argv[2], argv[3], argv[4]);
    }
    if (mode == "replay" && argc == 6) {
        return Replay(argv[2], argv[3], argv[4], argv[5]);
    }
    if (mode == "time" && argc >= 6 && std::strcmp(argv[4], "--") == 0) {
        return Time(argv[2], argv[3], argv + 5);
    }
    return Usage();
}
