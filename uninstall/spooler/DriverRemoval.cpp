#include "DriverRemoval.h"

// Placeholder until the step is built.
void RemoveDriversStep(RemovalContext&, const char*) {}
