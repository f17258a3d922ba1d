// Arbitrary bytes as the configuration file: the reader must never crash or
// read out of bounds, and a value it finds always fits ConfigValue.
#include "run/config.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string ScratchPath() {
    static std::string path = "/tmp/preluxa-fuzz-config-" + std::to_string(getpid()) + ".ini";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string path = ScratchPath();
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    const char *keys[] = {"LOGIN", "PASS", "NET8", "SCHEMA", "NONE"};
    for (const char *key : keys) {
        int status = ReadConfigValue("", key, 0, path.c_str());
        if (std::strlen(ConfigValue) > kConfigFieldCapacity) {
            std::abort();
        }
        if (status != CONFIG_FOUND && ConfigValue[0] != '\0') {
            std::abort();
        }
        if (status == CONFIG_MALFORMED && ConfigErrorLine < 1) {
            std::abort();
        }
    }
    // A lookup that matches almost nothing reads the whole file.
    ReadConfigValue("no such section", "NONE", -12345, path.c_str());
    return 0;
}
