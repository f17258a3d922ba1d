#include "run/atomic_file.h"

#include "common/text.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kTempSuffix[] = ".XXXXXX";

// Syncs the directory holding `path`, so that a rename in it is durable.
int SyncDirectoryOf(const char *path) {
    char directory[kAtomicPathCapacity];
    if (!CopyText(directory, sizeof directory, path)) {
        errno = ENAMETOOLONG;
        return 0;
    }
    char *slash = std::strrchr(directory, '/');
    if (slash == nullptr) {
        directory[0] = '.';
        directory[1] = '\0';
    } else if (slash == directory) {
        directory[1] = '\0';
    } else {
        *slash = '\0';
    }
    int fd = open(directory, O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return 0;
    }
    int synced = fsync(fd) == 0;
    int saved = errno;
    close(fd);
    errno = saved;
    return synced;
}

} // namespace

int OpenAtomicFile(AtomicFile *replacement, const char *path) {
    replacement->file = nullptr;
    replacement->tempExists = 0;
    size_t length = std::strlen(path);
    if (length == 0) {
        errno = ENOENT;
        return 0;
    }
    if (length + sizeof kTempSuffix > sizeof replacement->tempPath) {
        errno = ENAMETOOLONG;
        return 0;
    }
    std::memcpy(replacement->targetPath, path, length + 1);
    std::memcpy(replacement->tempPath, path, length);
    std::memcpy(replacement->tempPath + length, kTempSuffix, sizeof kTempSuffix);

    int fd = mkstemp(replacement->tempPath);
    if (fd < 0) {
        return 0;
    }
    replacement->tempExists = 1;
    // mkstemp already uses 0600; made explicit because the file holds the
    // database login.
    if (fchmod(fd, S_IRUSR | S_IWUSR) != 0) {
        int saved = errno;
        close(fd);
        errno = saved;
        return 0;
    }
    replacement->file = fdopen(fd, "wb");
    if (replacement->file == nullptr) {
        int saved = errno;
        close(fd);
        errno = saved;
        return 0;
    }
    return 1;
}

int CloseAtomicFile(AtomicFile *replacement) {
    std::FILE *file = replacement->file;
    replacement->file = nullptr;
    if (file == nullptr) {
        errno = EBADF;
        return 0;
    }
    int ok = 1;
    errno = 0;
    if (std::fflush(file) != 0 || std::ferror(file) || fsync(fileno(file)) != 0) {
        ok = 0;
    }
    int saved = errno != 0 ? errno : EIO;
    if (std::fclose(file) != 0) {
        return 0;
    }
    errno = saved;
    return ok;
}

int CommitAtomicFile(AtomicFile *replacement) {
    if (replacement->file != nullptr || !replacement->tempExists) {
        errno = EBADF;
        return 0;
    }
    if (std::rename(replacement->tempPath, replacement->targetPath) != 0) {
        return 0;
    }
    replacement->tempExists = 0;
    return SyncDirectoryOf(replacement->targetPath);
}

void DiscardAtomicFile(AtomicFile *replacement) {
    if (replacement->file != nullptr) {
        std::fclose(replacement->file);
        replacement->file = nullptr;
    }
    if (replacement->tempExists) {
        unlink(replacement->tempPath);
        replacement->tempExists = 0;
    }
}
