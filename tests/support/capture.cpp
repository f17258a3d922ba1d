#include "support/capture.h"

#include <unistd.h>

#include <cstdio>
#include <stdexcept>

std::string CaptureStdout(const std::function<void()> &call) {
    std::fflush(stdout);
    std::FILE *capture = std::tmpfile();
    if (capture == nullptr) {
        throw std::runtime_error("cannot create a capture file");
    }
    int saved = dup(STDOUT_FILENO);
    dup2(fileno(capture), STDOUT_FILENO);
    call();
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::string text = ReadWholeStream(capture);
    std::fclose(capture);
    return text;
}

std::string ReadWholeStream(std::FILE *file) {
    std::string bytes;
    std::rewind(file);
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, n);
    }
    return bytes;
}
