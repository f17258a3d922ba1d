// The generator as it was before the reader result was kept: the reader
// statement runs for every badge. scripts/bench replays its statements as the
// full sequence of a run.
#include "lookup/access.h"
#include "run/run.h"

int main(int argc, char **argv) {
    SetReaderCacheForTests(false);
    return RunGenerator(argc, argv);
}
