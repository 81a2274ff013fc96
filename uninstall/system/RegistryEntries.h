#pragma once
// Removing the RegistryKeys entries and the maker's program-group record.
#include "spooler/RemovalContext.h"

void RemoveRegistryEntriesStep(RemovalContext& ctx);
