#include "Reboot.h"

// Placeholder until the step is built.
void OfferReboot(RemovalContext&) {}
