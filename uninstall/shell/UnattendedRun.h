#pragma once
// The two modes without a window. QUIET removes every offered printer and what belongs to it, with
// no window shown and every question answered from a fixed table; REPORT runs the same removal as a
// dry run and writes what it would change as JSON. Both drive the loading and removal sequences and
// their steps, the ones the dialogs drive, in a loop instead of on timers.
#include <windows.h>

#include "shell/RunOptions.h"

// Runs the quiet or the report mode for options and returns the exit code (RunOptions.h).
int RunUnattended(HINSTANCE instance, const RunOptions& options);
