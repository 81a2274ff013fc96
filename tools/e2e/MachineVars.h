#pragma once
// The %NAME% directory variables that scenario paths may use, resolved on the running machine, so a
// scenario names "the printer-driver directory" rather than a path that differs between Wine and
// Windows, or between 32- and 64-bit spoolers.
#include <string>
#include <utility>
#include <vector>

#include "Scenario.h"

using VarList = std::vector<std::pair<std::string, std::string>>;

// WINDIR, SYSDIR, DRIVERDIR (the spooler's own environment), DRIVERDIR_X64, DRIVERDIR_X86,
// DRIVERDIR_W40, PROCDIR, PROGRAMS, STARTUP, COMMONPROGRAMS, COMMONSTARTUP, DESKTOP, TEMP and
// TOOLDIR ([machine] tooldir, default C:\Uninstall).
VarList MachineVars(const Scenario& sc);
std::string ToolDir(const Scenario& sc);

// Printer environments that the seeder and the dump know; "" is the spooler's own.
const std::vector<std::string>& KnownEnvironments();
