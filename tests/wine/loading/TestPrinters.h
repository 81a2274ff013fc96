#pragma once
// Printers for the census and loading tests, added through Wine's spooler, and the text files the
// strict spooler library reads (configuration) and writes (journal).
#include <windows.h>
#include <winspool.h>

#include <doctest/doctest.h>

#include <fstream>
#include <sstream>
#include <string>

inline void AddTestDriver(const char* name) {
    DRIVER_INFO_3A info = {};
    info.cVersion = 3;
    info.pName = const_cast<char*>(name);
    info.pDriverPath = const_cast<char*>("QUTEST.DLL");
    info.pDataFile = const_cast<char*>("QUTEST.PPD");
    info.pConfigFile = const_cast<char*>("QUTESTUI.DLL");
    REQUIRE(AddPrinterDriverA(NULL, 3, reinterpret_cast<BYTE*>(&info)));
}

// The caller closes the handle.
inline HANDLE AddTestPrinter(const char* name, const char* driver) {
    PRINTER_INFO_2A info = {};
    info.pPrinterName = const_cast<char*>(name);
    info.pPortName = const_cast<char*>("LPT1:");
    info.pDriverName = const_cast<char*>(driver);
    info.pPrintProcessor = const_cast<char*>("winprint");
    info.pDatatype = const_cast<char*>("RAW");
    HANDLE printer = AddPrinterA(NULL, 2, reinterpret_cast<BYTE*>(&info));
    REQUIRE(printer);
    return printer;
}

inline std::string ReadTextFile(const char* path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}
