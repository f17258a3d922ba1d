#include "lookup/one_shot_cursor.h"

DbCursor OneShotCursor;
