#pragma once
// Deleting the print processors that the removal profile names, after moving their printers to WinPrint.
#include "spooler/RemovalContext.h"

void RemovePrintProcessorsStep(RemovalContext& ctx, const char* server, const char* environment);

// Moves every local printer that uses the processor to "WinPrint" with the datatype "RAW". 1 when
// no local printer uses it any more, 0 when at least one could not be moved (the others still
// are); *stuck, when given, receives the name of the first printer that could not be moved.
int ReleasePrintProcessor(RemovalContext& ctx, const char* processor, TextItem* stuck = nullptr);

// Rewrite one field of a printer's level-2 information: the result of SetPrinterA, or 0 when the
// printer cannot be opened or read (GetLastError tells why).
int SetPrinterProcessor(const char* printer, const char* processor);
int SetPrinterDatatype(const char* printer, const char* datatype);
