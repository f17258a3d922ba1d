#include "common/run_state.h"

FILE *DownloadFile = nullptr;
int VerboseMode = 0;
