// preluxa-batch: runs the download generator for every job of a job file.
#include "run/batch.h"

int main(int argc, char **argv) {
    return RunBatch(argc, argv);
}
