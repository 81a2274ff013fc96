#include "RegistryEntries.h"

// Placeholder until the step is built.
void RemoveRegistryEntriesStep(RemovalContext&) {}
