#include "MonitorRemoval.h"

// Placeholder until the step is built.
void RemoveMonitorsStep(RemovalContext&, const char*, const char*) {}
