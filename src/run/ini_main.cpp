// preluxa-ini: maintains the configuration file of the download generator.
#include "run/config_tool.h"

#include <cstdio>

int main(int argc, char **argv) {
    return RunConfigTool(argc, argv, stdin, stdout, stderr);
}
