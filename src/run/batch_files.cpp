#include "run/batch_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string ErrnoText() {
    return std::strerror(errno);
}

// Writes all of data to fd. Returns false with errno set.
bool WriteAll(int fd, const char *data, size_t size) {
    while (size > 0) {
        ssize_t written = write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Copies everything from one descriptor to the other. Returns false with
// errno set.
bool CopyAll(int from, int to) {
    char buffer[65536];
    while (true) {
        ssize_t count = read(from, buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (count == 0) {
            return true;
        }
        if (!WriteAll(to, buffer, static_cast<size_t>(count))) {
            return false;
        }
    }
}

bool SyncPath(const std::string &path, int flags) {
    int fd = open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool synced = fsync(fd) == 0;
    int saved = errno;
    close(fd);
    errno = saved;
    return synced;
}

std::string DirectoryOf(const std::string &path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Fills the new temporary file: the target's permissions, and for an append
// job its content. Returns an empty text or the reason.
std::string FillTempFile(const BatchJob &job, int tempFd, const std::string &temp) {
    struct stat info;
    if (stat(job.path.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            return ""; // no previous file: preluxa starts an empty one
        }
        return "cannot read " + job.path + ": " + ErrnoText();
    }
    // Checked before opening: opening a FIFO would wait for a writer.
    if (!S_ISREG(info.st_mode)) {
        return job.path + " is not a regular file";
    }
    if (fchmod(tempFd, info.st_mode & 07777) != 0) {
        return "cannot set the permissions of " + temp + ": " + ErrnoText();
    }
    bool append = job.mode.empty() || job.mode[0] != '1';
    if (!append) {
        return "";
    }
    int targetFd = open(job.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (targetFd < 0) {
        return "cannot open " + job.path + ": " + ErrnoText();
    }
    std::string reason;
    if (!CopyAll(targetFd, tempFd)) {
        reason = "cannot copy " + job.path + " to " + temp + ": " + ErrnoText();
    }
    close(targetFd);
    return reason;
}

} // namespace

std::string PrepareJobFile(const BatchJob &job, int jobNumber, JobFile *file) {
    file->target = job.path;
    file->temp = job.path + ".tmp." + std::to_string(getpid()) + "." + std::to_string(jobNumber);
    file->tempExists = false;
    if (file->temp.size() > kPreluxaPathCapacity) {
        return "the temporary file " + file->temp + " would have " +
               std::to_string(file->temp.size()) + " characters, preluxa accepts at most " +
               std::to_string(kPreluxaPathCapacity) + "; " + job.path + " left as it was";
    }
    // O_EXCL and O_NOFOLLOW: never write through a file or link someone else
    // placed under the temporary name.
    int fd = open(file->temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        return "cannot create " + file->temp + ": " + ErrnoText();
    }
    file->tempExists = true;
    std::string reason = FillTempFile(job, fd, file->temp);
    if (close(fd) != 0 && reason.empty()) {
        reason = "cannot write " + file->temp + ": " + ErrnoText();
    }
    if (!reason.empty()) {
        DiscardJobFile(file);
    }
    return reason;
}

std::string CommitJobFile(JobFile *file) {
    std::string reason;
    if (!SyncPath(file->temp, O_RDONLY)) {
        reason = "cannot sync " + file->temp + ": " + ErrnoText();
    } else if (std::rename(file->temp.c_str(), file->target.c_str()) != 0) {
        reason = "cannot rename " + file->temp + " to " + file->target + ": " + ErrnoText();
    } else {
        file->tempExists = false;
        if (!SyncPath(DirectoryOf(file->target), O_RDONLY | O_DIRECTORY)) {
            return file->target +
                   " replaced, but its directory could not be synced: " + ErrnoText();
        }
        return "";
    }
    DiscardJobFile(file);
    return reason;
}

void DiscardJobFile(JobFile *file) {
    if (file->tempExists) {
        unlink(file->temp.c_str());
        file->tempExists = false;
    }
}
