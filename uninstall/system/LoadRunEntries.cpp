#include "LoadRunEntries.h"

// Placeholder until the step is built.
void RemoveLoadRunEntriesStep(RemovalContext&) {}
