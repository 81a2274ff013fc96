#pragma once
// One line of the action log: "time  step  kind "object" (scope): outcome: detail (error N)".
#include <string>

#include "spooler/ActionLog.h"

// Line breaks and tabs inside the texts become blanks: one record is always one line.
std::string FormatActionLine(const char* time, const ActionRecord& record);
