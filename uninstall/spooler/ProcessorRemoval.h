#pragma once
// Deleting the print processors that the removal profile names, after moving their printers to
// WinPrint. A processor the spooler keeps keeps its DLL.
#include "spooler/RemovalContext.h"

void RemovePrintProcessorsStep(RemovalContext& ctx, const char* server, const char* environment);

// Moves every local printer that uses the processor to "WinPrint" with the datatype "RAW". 1 when
// no local printer uses it any more, 0 when at least one could not be moved (the others still
// are) or the printers could not be listed; *stuck, when given, receives the name of the first
// printer that could not be moved (empty when they could not be listed).
int ReleasePrintProcessor(RemovalContext& ctx, const char* processor, TextItem* stuck = nullptr);

// Puts a printer on another print processor with one of that processor's datatypes, in a single
// write of its level-2 information: the spooler checks the datatype against the processor it is
// given, so a processor written first would be refused with the old processor's datatype. The
// result of SetPrinterA, or 0 when the printer cannot be opened or read (GetLastError tells why).
int SetPrinterProcessor(const char* printer, const char* processor, const char* datatype);
