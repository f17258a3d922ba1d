#include "run/writer_dispatch.h"

#include "writers/idstamm.h"

#include <cstring>

const char *WriterAbortMessage(const char *dnlFunction) {
    if (std::strcmp(dnlFunction, "IDSTAMM") == 0) {
        return "Programmabbruch: Fehler bei Erstellung der Datei IDSTAMM!\n";
    }
    return nullptr;
}

int CallWriter(const char *dnlFunction, const char *downloadPath, TerminalRecord *terminal) {
    if (std::strcmp(dnlFunction, "IDSTAMM") == 0) {
        return WriteIDSTAMM(downloadPath, terminal);
    }
    return -1;
}
