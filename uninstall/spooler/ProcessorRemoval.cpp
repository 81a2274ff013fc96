#include "ProcessorRemoval.h"

// Placeholder until the step is built.
void RemovePrintProcessorsStep(RemovalContext&, const char*, const char*) {}
