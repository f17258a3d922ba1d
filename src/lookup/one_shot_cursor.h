// The cursor that the single-row lookups share. Each of them executes,
// fetches and frees it within one call, so it is never open between calls.
#pragma once

#include "db/db.h"

extern DbCursor OneShotCursor;
