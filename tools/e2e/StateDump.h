#pragma once
// One canonical text of the machine: one fact per line, sorted, so that two dumps compare line by
// line and an expectation names a fact by the start of its line. Line forms:
//   printer NAME | driver=D | port=P | processor=X | attributes=0xN
//   printer-data NAME | VALUE = type:data
//   default-printer NAME
//   driver ENV | NAME | files=a,b,c
//   monitor NAME | DLL
//   processor ENV | NAME
//   service NAME | type=N | start=N | image=PATH | state=running|stopped|changing
//   key HKLM\PATH      value HKLM\PATH | NAME = type:data
//   dir PATH           file PATH | N bytes [| read-only]
//   ini FILE | [SECTION] KEY=VALUE   (win.ini's mapped sections too, and wininit.ini, zwininit.ini)
//   pending delete PATH    pending rename SRC -> DST
#include <string>
#include <vector>

#include "Scenario.h"

std::vector<std::string> DumpMachine(const Scenario& sc);

// The whole-machine audit, in the same line forms: every "dir" and "file" of the C: drive and every
// "key" and "value" under the audit's registry roots, less the exclusions of AuditScope.h.
std::vector<std::string> AuditMachine();
