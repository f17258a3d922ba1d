// Process-wide state of a run that run control sets up and the lookups and
// writers read.
#pragma once

#include <cstdio>

extern FILE *DownloadFile; // the open download file; written only by the writers
extern int VerboseMode;    // 1 when the run was started with "/d"
