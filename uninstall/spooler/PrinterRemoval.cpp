#include "PrinterRemoval.h"

// Placeholder until the step is built.
void RemovePrintersStep(RemovalContext&) {}
