// The shipped QSPOOL01.DLL exports exactly the bound spooler and registry functions, and a program
// linked like the uninstall tool imports those functions from it and from nowhere else.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <set>
#include <string>

namespace {

const char* const kBoundFunctions[] = {
    "EnumPrintersA",
    "OpenPrinterA",
    "ClosePrinter",
    "GetPrinterA",
    "SetPrinterA",
    "GetPrinterDataA",
    "GetPrinterDriverA",
    "EnumJobsA",
    "SetJobA",
    "DeletePrinter",
    "DeletePrinterConnectionA",
    "EnumPrinterDriversA",
    "DeletePrinterDriverA",
    "DeleteMonitorA",
    "EnumPrintProcessorsA",
    "DeletePrintProcessorA",
    "GetPrinterDriverDirectoryA",
    "GetPrintProcessorDirectoryA",
    "RegOpenKeyExA",
    "RegDeleteValueA",
    "RegCloseKey",
    "RegOpenKeyA",
    "RegEnumKeyA",
    "RegQueryValueExA",
    "RegEnumValueA",
    "RegDeleteKeyA",
    "RegSetValueExA",
};

// Referencing every bound function makes this program import all of them, as the tool does.
const void* const kReferences[] = {
    reinterpret_cast<const void*>(&EnumPrintersA),
    reinterpret_cast<const void*>(&OpenPrinterA),
    reinterpret_cast<const void*>(&ClosePrinter),
    reinterpret_cast<const void*>(&GetPrinterA),
    reinterpret_cast<const void*>(&SetPrinterA),
    reinterpret_cast<const void*>(&GetPrinterDataA),
    reinterpret_cast<const void*>(&GetPrinterDriverA),
    reinterpret_cast<const void*>(&EnumJobsA),
    reinterpret_cast<const void*>(&SetJobA),
    reinterpret_cast<const void*>(&DeletePrinter),
    reinterpret_cast<const void*>(&DeletePrinterConnectionA),
    reinterpret_cast<const void*>(&EnumPrinterDriversA),
    reinterpret_cast<const void*>(&DeletePrinterDriverA),
    reinterpret_cast<const void*>(&DeleteMonitorA),
    reinterpret_cast<const void*>(&EnumPrintProcessorsA),
    reinterpret_cast<const void*>(&DeletePrintProcessorA),
    reinterpret_cast<const void*>(&GetPrinterDriverDirectoryA),
    reinterpret_cast<const void*>(&GetPrintProcessorDirectoryA),
    reinterpret_cast<const void*>(&RegOpenKeyExA),
    reinterpret_cast<const void*>(&RegDeleteValueA),
    reinterpret_cast<const void*>(&RegCloseKey),
    reinterpret_cast<const void*>(&RegOpenKeyA),
    reinterpret_cast<const void*>(&RegEnumKeyA),
    reinterpret_cast<const void*>(&RegQueryValueExA),
    reinterpret_cast<const void*>(&RegEnumValueA),
    reinterpret_cast<const void*>(&RegDeleteKeyA),
    reinterpret_cast<const void*>(&RegSetValueExA),
};

std::set<std::string> BoundSet() {
    return std::set<std::string>(std::begin(kBoundFunctions), std::end(kBoundFunctions));
}

const IMAGE_DATA_DIRECTORY& Directory(HMODULE module, int index) {
    const BYTE* base = reinterpret_cast<const BYTE*>(module);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    return nt->OptionalHeader.DataDirectory[index];
}

std::set<std::string> ExportedNames(HMODULE module) {
    const BYTE* base = reinterpret_cast<const BYTE*>(module);
    const IMAGE_DATA_DIRECTORY& dir = Directory(module, IMAGE_DIRECTORY_ENTRY_EXPORT);
    std::set<std::string> names;
    if (dir.VirtualAddress == 0) return names;
    const IMAGE_EXPORT_DIRECTORY* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    const DWORD* nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.insert(reinterpret_cast<const char*>(base + nameRvas[i]));
    return names;
}

// Imported function names of this program, by DLL name in upper case.
std::set<std::string> ImportsFrom(const char* dllName, std::set<std::string>* otherDlls = nullptr) {
    HMODULE self = GetModuleHandleA(nullptr);
    const BYTE* base = reinterpret_cast<const BYTE*>(self);
    const IMAGE_DATA_DIRECTORY& dir = Directory(self, IMAGE_DIRECTORY_ENTRY_IMPORT);
    std::set<std::string> names;
    const IMAGE_IMPORT_DESCRIPTOR* d =
        reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
    for (; d->Name != 0; ++d) {
        std::string dll = reinterpret_cast<const char*>(base + d->Name);
        for (char& c : dll) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        if (otherDlls) otherDlls->insert(dll);
        if (dll != dllName) continue;
        const IMAGE_THUNK_DATA* thunk =
            reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        for (; thunk->u1.AddressOfData != 0; ++thunk) {
            if (IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal)) continue;
            const IMAGE_IMPORT_BY_NAME* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + thunk->u1.AddressOfData);
            names.insert(reinterpret_cast<const char*>(byName->Name));
        }
    }
    return names;
}

}  // namespace

TEST_CASE("QSPOOL01.DLL exports each bound function under its standard name, and nothing else") {
    HMODULE qspool = LoadLibraryA("QSPOOL01.DLL");
    REQUIRE(qspool != nullptr);
    for (const char* name : kBoundFunctions) {
        INFO(name);
        bool found = GetProcAddress(qspool, name) != nullptr;
        CHECK(found);
    }
    CHECK(ExportedNames(qspool) == BoundSet());
    FreeLibrary(qspool);
}

TEST_CASE("a program linked like the tool takes the bound functions from QSPOOL01.DLL only") {
    REQUIRE(sizeof kReferences / sizeof kReferences[0] == sizeof kBoundFunctions / sizeof kBoundFunctions[0]);
    std::set<std::string> dlls;
    CHECK(ImportsFrom("QSPOOL01.DLL", &dlls) == BoundSet());
    CHECK(dlls.count("WINSPOOL.DRV") == 0);
    for (const std::string& dll : dlls) {
        if (dll == "QSPOOL01.DLL") continue;
        for (const std::string& name : ImportsFrom(dll.c_str())) {
            INFO(dll << " " << name);
            CHECK(BoundSet().count(name) == 0);
        }
    }
}

TEST_CASE("the shipped library answers with Windows' own results") {
    SUBCASE("a sizing call of the printer enumeration") {
        DWORD needed = 12345, returned = 12345;
        BOOL ok = EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0,
                                &needed, &returned);
        DWORD error = GetLastError();
        CHECK(returned == 0);
        if (ok)
            CHECK(needed == 0);
        else
            CHECK(error == ERROR_INSUFFICIENT_BUFFER);
    }
    SUBCASE("a directory of an explicit environment") {
        char dir[MAX_PATH] = {};
        DWORD needed = 0;
        char env[] = "Windows NT x86";
        REQUIRE(
            GetPrinterDriverDirectoryA(nullptr, env, 1, reinterpret_cast<LPBYTE>(dir), sizeof dir, &needed));
        std::string text = dir;
        CHECK(text.size() > 6);
        CHECK(text.substr(text.size() - 6) == "w32x86");
    }
    SUBCASE("registry calls with their error codes") {
        HKEY key = nullptr;
        REQUIRE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key) == ERROR_SUCCESS);
        CHECK(RegCloseKey(key) == ERROR_SUCCESS);
        CHECK(RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\No Such Key Here", &key) == ERROR_FILE_NOT_FOUND);
    }
}
