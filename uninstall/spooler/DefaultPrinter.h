#pragma once
// Making a printer the system's default printer in the way each Windows family keeps it.
#include <windows.h>

class COSInfo;

// Sets the printer's default attribute; outside Windows 9x also writes WIN.INI's [windows]
// device= value ("name,driver part,port"), then announces the change to every top-level window.
// 1 on success; 0 when the printer cannot be opened (nothing changed or announced), its details
// cannot be read, the write that holds the default on this family fails, or the device value would
// not fit its 255 characters (then it is not written). On the NT family a printer that the user may
// only print to still becomes the default through the device value; its attribute stays as it is.
int MakeDefaultPrinter(const COSInfo& os, const char* printerName);
