#include "IniEntries.h"

// Placeholder until the step is built.
void RemoveIniEntriesStep(RemovalContext&) {}
