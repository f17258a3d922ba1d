#include "run/writer_dispatch.h"

#include "writers/idstamm.h"
#include "writers/mgdnl17p.h"
#include "writers/mgdnl18p.h"
#include "writers/mgdnl31p.h"
#include "writers/mgdnl60p.h"

#include <cstring>
#include <initializer_list>

bool IsDnlFunction(const char *dnlFunction) {
    for (const char *name : {"MGDNL17P", "MGDNL18P", "MGDNL31P", "MGDNL60P", "IDSTAMM"}) {
        if (std::strcmp(dnlFunction, name) == 0) {
            return true;
        }
    }
    return false;
}

int CallWriter(const char *dnlFunction, const char *downloadPath, TerminalRecord *terminal) {
    if (std::strcmp(dnlFunction, "MGDNL17P") == 0) {
        return WriteMGDNL17P(downloadPath, terminal);
    }
    if (std::strcmp(dnlFunction, "MGDNL18P") == 0) {
        return WriteMGDNL18P(downloadPath, terminal);
    }
    if (std::strcmp(dnlFunction, "MGDNL31P") == 0) {
        return WriteMGDNL31P(downloadPath, terminal);
    }
    if (std::strcmp(dnlFunction, "MGDNL60P") == 0) {
        return WriteMGDNL60P(downloadPath, terminal);
    }
    if (std::strcmp(dnlFunction, "IDSTAMM") == 0) {
        return WriteIDSTAMM(downloadPath, terminal);
    }
    return -1;
}
