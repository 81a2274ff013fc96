#pragma once
// The maker's OEM directories (values under HKEY_LOCAL_MACHINE
// "SOFTWARE\TOVARI QUELLAN\OEM01\OEMPaths"), copied into the removal profile's OEM path list,
// where the files step searches them.
#include "spooler/RemovalContext.h"

// Appends each value's data as a directory path, then sorts the list and drops duplicates. A value
// too long for a path is read whole and left out: a cut path would send the files step into some
// other directory. Changes nothing on the machine.
void CollectOemPathsStep(RemovalContext& ctx);
