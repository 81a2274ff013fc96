#pragma once
// The closing message of the uninstall and, on Windows 9x, the restart question.
#include "spooler/RemovalContext.h"

void OfferReboot(RemovalContext& ctx);
