#pragma once
// One line of the action log: "time  step  kind "object" (scope): outcome: detail (error N)".
#include <string>

#include "spooler/ActionLog.h"

std::string FormatActionLine(const char* time, const ActionRecord& record);
