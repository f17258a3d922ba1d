#include "writers/progress.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>

namespace {

bool Active = false;
long Total = 0;
long LastDrawn = -1;
timespec LastDraw = {};

long MillisecondsSince(const timespec &start) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
}

void Draw(long done) {
    std::fprintf(stderr, "\rAusweise: %ld von %ld", done, Total);
    std::fflush(stderr);
    LastDrawn = done;
    clock_gettime(CLOCK_MONOTONIC, &LastDraw);
}

} // namespace

void StartProgress(long total) {
    Active = isatty(STDERR_FILENO) == 1;
    if (!Active) {
        return;
    }
    Total = total;
    Draw(0);
}

void ShowProgress(long done) {
    // Asking the clock for every badge would cost more than the drawing saves.
    if (!Active || done == LastDrawn || (done % 64 != 0 && done != Total)) {
        return;
    }
    if (done == Total || MillisecondsSince(LastDraw) >= 200) {
        Draw(done);
    }
}

void EndProgress() {
    if (!Active) {
        return;
    }
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    Active = false;
}
