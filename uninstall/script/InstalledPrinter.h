#pragma once
// One census record per installed printer (local printer or connection), kept by value in the
// database's installed-printer list in census order.
#include <cstdint>

#include "TextItem.h"

struct InstalledPrinter {
    TextItem name;
    TextItem driver;
    TextItem vizoredName;  // the printer a Vizored printer stands for; empty for ordinary printers
    TextItem location;     // server of a printer on another computer; empty for a local one
    int32_t isSpoolara = 0;
    int32_t isDefault = 0;
    int32_t excluded = 0;   // not to be removed: filtered out by the switches or not selected
    int32_t isForeign = 0;  // neither the maker's driver marker nor a Vizored name
    int32_t deleted = 0;
    int32_t offered = 1;
};
