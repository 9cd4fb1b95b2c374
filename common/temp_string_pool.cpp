// The thread-local pool record, built from a constant template so no initialisation code runs.
#include "common/temp_string_pool.h"

namespace {
thread_local TempStringPool t_pool = {0xFu, 0xFFu, {}, {}};
}

TempStringPool& CurrentTempStringPool() { return t_pool; }
