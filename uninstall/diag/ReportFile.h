#pragma once
// The /REPORT file: created when the run starts, so that a place that cannot be written ends the
// run before anything else has happened, and filled at the end with the report as UTF-8 JSON.
#include <windows.h>

#include <string>

#include "diag/RemovalReport.h"

class ReportFile {
public:
    ReportFile() = default;
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    // Creates path, or empties it when it exists. False when it cannot be written.
    bool Create(const std::string& path);
    bool IsCreated() const { return file != INVALID_HANDLE_VALUE; }
    // Writes the report and closes the file; true when all of it was written.
    bool Write(const RemovalReport& report);

private:
    HANDLE file = INVALID_HANDLE_VALUE;
};

// A text of the machine's ANSI code page in UTF-8. Where the system cannot convert, the text comes
// back as it was, and the JSON writer replaces the bytes that are not UTF-8.
std::string AnsiToUtf8(const std::string& ansi);
