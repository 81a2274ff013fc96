#pragma once
// Deleting the chosen printers with their queued jobs, UniqueID keys, per-user values and 9x spooler keys;
// reassigning the default printer when it was among them.
#include "spooler/RemovalContext.h"

// A dry run deletes nothing and leaves the records' flags alone, but queues the 9x keys all the same,
// so that the registry step's plan lists them.
void RemovePrintersStep(RemovalContext& ctx);

// Cancels and deletes the first 100 jobs of an open printer's queue; returns how many it found.
// In a dry run it only counts them.
DWORD PurgePrintJobs(HANDLE printer, bool dryRun);

// Deletes HKEY_CLASSES_ROOT\id with its subkeys, taking the first subkey until none is left or one
// cannot be deleted. An empty id names no key of its own and is left alone.
void DeleteUniqueIdKey(RemovalContext& ctx, const char* id);
