// qe2e_plain_removal: the baseline of the removal benchmark. It deletes printers and then their
// drivers through the spooler and does nothing else: no census, no scripts, no other steps.
//   qe2e_plain_removal PRINTER DRIVER COUNT     "%d" in the names stands for 1 to COUNT
// Exit status: 0 when every printer and driver went, 1 otherwise (the failures are printed).
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <string>

static std::string Numbered(const char* pattern, int n) {
    std::string out = pattern;
    size_t at = out.find("%d");
    if (at != std::string::npos) out.replace(at, 2, std::to_string(n));
    return out;
}

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: qe2e_plain_removal PRINTER DRIVER COUNT\n");
        return 2;
    }
    int count = std::atoi(argv[3]), failures = 0;
    for (int n = 1; n <= count; ++n) {
        std::string name = Numbered(argv[1], n);
        PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        HANDLE printer = nullptr;
        if (!OpenPrinterA(&name[0], &printer, &access) || !DeletePrinter(printer)) {
            std::printf("printer %s: error %lu\n", name.c_str(), GetLastError());
            ++failures;
        }
        if (printer) ClosePrinter(printer);
    }
    for (int n = 1; n <= count; ++n) {
        std::string name = Numbered(argv[2], n);
        if (!DeletePrinterDriverA(nullptr, nullptr, &name[0])) {
            std::printf("driver %s: error %lu\n", name.c_str(), GetLastError());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
