#include "support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

void ReadAll(int outFd, int errFd, int inFd, const std::string &input, std::string *out,
             std::string *err) {
    size_t inputDone = 0;
    if (input.empty()) {
        close(inFd);
        inFd = -1;
    }
    char buffer[65536];
    while (outFd >= 0 || errFd >= 0) {
        pollfd fds[3];
        int count = 0;
        int outIndex = -1, errIndex = -1, inIndex = -1;
        if (outFd >= 0) {
            outIndex = count;
            fds[count++] = {outFd, POLLIN, 0};
        }
        if (errFd >= 0) {
            errIndex = count;
            fds[count++] = {errFd, POLLIN, 0};
        }
        if (inFd >= 0) {
            inIndex = count;
            fds[count++] = {inFd, POLLOUT, 0};
        }
        if (poll(fds, count, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw std::runtime_error("poll failed");
        }
        if (inIndex >= 0 && fds[inIndex].revents != 0) {
            ssize_t n = write(inFd, input.data() + inputDone, input.size() - inputDone);
            if (n > 0) {
                inputDone += static_cast<size_t>(n);
            }
            if (n <= 0 || inputDone == input.size()) {
                close(inFd);
                inFd = -1;
            }
        }
        int *fdsToRead[2] = {&outFd, &errFd};
        int indexes[2] = {outIndex, errIndex};
        std::string *targets[2] = {out, err};
        for (int i = 0; i < 2; ++i) {
            if (indexes[i] >= 0 && fds[indexes[i]].revents != 0) {
                ssize_t n = read(*fdsToRead[i], buffer, sizeof buffer);
                if (n > 0) {
                    targets[i]->append(buffer, static_cast<size_t>(n));
                } else {
                    close(*fdsToRead[i]);
                    *fdsToRead[i] = -1;
                }
            }
        }
    }
    if (inFd >= 0) {
        close(inFd);
    }
}

} // namespace

ProgramResult RunProgram(const std::string &program, const std::vector<std::string> &args,
                         const std::string &cwd, const std::string &input,
                         const std::vector<std::string> &environment) {
    int outPipe[2], errPipe[2], inPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0 || pipe(inPipe) != 0) {
        throw std::runtime_error("pipe failed");
    }
    pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        dup2(inPipe[0], 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        for (int fd : {inPipe[0], inPipe[1], outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) {
            close(fd);
        }
        for (const std::string &entry : environment) {
            size_t equals = entry.find('=');
            setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
        }
        if (chdir(cwd.c_str()) != 0) {
            _exit(127);
        }
        std::vector<char *> argv;
        argv.push_back(const_cast<char *>(program.c_str()));
        for (const std::string &arg : args) {
            argv.push_back(const_cast<char *>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);
    ProgramResult result{-1, "", ""};
    ReadAll(outPipe[0], errPipe[0], inPipe[1], input, &result.out, &result.err);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    }
    return result;
}

ScratchDir::ScratchDir() {
    const char *base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/preluxa-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = buffer.data();
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void WriteBytes(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string ReadBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool FileExists(const std::string &path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

void MakeDirs(const std::string &path) {
    std::filesystem::create_directories(path);
}
