#pragma once
// Deleting the chosen printers with their queued jobs, UniqueID keys, per-user values and 9x spooler keys;
// reassigning the default printer when it was among them.
#include "spooler/RemovalContext.h"

// A printer or connection that the spooler keeps stays, and so does what it needs: the step ends by
// computing the removal set again with it among the printers that stay. A dry run deletes nothing
// and leaves the records' flags alone, but queues the 9x keys all the same, so that the registry
// step's plan lists them.
void RemovePrintersStep(RemovalContext& ctx);

// Cancels and deletes the first 100 jobs of an open printer's queue; returns how many went. In a
// dry run it only counts them. *error, when given, receives the error of a queue that could not be
// read or of the first job that could not be cancelled (0 when there was none).
DWORD PurgePrintJobs(HANDLE printer, bool dryRun, DWORD* error = nullptr);

// Deletes HKEY_CLASSES_ROOT\id with its subkeys, taking the first subkey until none is left or one
// cannot be deleted. An empty id names no key of its own and is left alone.
void DeleteUniqueIdKey(RemovalContext& ctx, const char* id);
