#pragma once
// The dry-run report: what a removal of the selected printers would change on this machine. It is
// the action log of a removal run with nothing changed (every step finds and records, none
// removes), written as JSON for administrators and for the tests that hold a removal to it.
#include <string>
#include <vector>

#include "script/InstalledPrinter.h"
#include "spooler/ActionLog.h"

class RemovalReport : public ActionLog {
public:
    // Converts a text of the machine's ANSI code page to UTF-8, which JSON requires.
    using TextConverter = std::string (*)(const std::string& ansi);

    void Record(const ActionRecord& record) override;

    // The census as the removal would find it: which printers go, which stay.
    void SetPrinters(const std::vector<InstalledPrinter>& printers) { printers_ = printers; }
    // The exit code the report run ends with (0, or 1603 when the report could not be completed).
    void SetExitCode(int exitCode) { exitCode_ = exitCode; }

    // The report as JSON text: the selected and remaining printers and every recorded object,
    // grouped by kind. Texts go through convert (identity when null).
    std::string ToJson(TextConverter convert) const;

private:
    struct Entry {
        std::string step, kind, object, scope, detail;
        ActionOutcome outcome;
        unsigned long error;
    };
    std::vector<Entry> entries_;
    std::vector<InstalledPrinter> printers_;
    int exitCode_ = 0;
};
