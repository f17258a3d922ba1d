#include "writers/inspect.h"

#include <cstdio>

int main(int argc, char **argv) {
    return RunInspector(argc, argv, stdout, stderr);
}
