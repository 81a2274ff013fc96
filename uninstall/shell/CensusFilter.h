#pragma once
// The command-line filter of the printer census: which printers the switches offer for removal.
class CCmdSwitches;

// True when the printer stays offered. Without MFG, PRN, UNVIZ or PRINTER every printer matches.
// With MFG or PRN a printer matches when its driver name begins with an MFG value or equals a PRN
// value (ignoring case, quotes around the values removed). With UNVIZ a printer without a Vizored
// name never matches. With PRINTER a printer whose name equals none of its values never matches.
bool MatchesCensusSwitches(const CCmdSwitches& switches, const char* name, const char* driver,
                           const char* vizoredName);

// True when one of the switches that filter the census was given.
bool HasCensusFilter(const CCmdSwitches& switches);
