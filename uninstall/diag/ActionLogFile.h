#pragma once
// The /LOG file: one line per recorded action, appended to what earlier runs wrote, and a line for
// each note of the run (its command line, its exit code). Texts stay in the ANSI code page.
#include <windows.h>

#include <string>

#include "spooler/ActionLog.h"

class ActionLogFile : public ActionLog {
public:
    ActionLogFile() = default;
    ~ActionLogFile() override;
    ActionLogFile(const ActionLogFile&) = delete;
    ActionLogFile& operator=(const ActionLogFile&) = delete;

    // Opens path for appending, creating it when missing. False when it cannot be opened (an
    // empty path included); the log then stays closed and records go nowhere.
    bool Open(const std::string& path);
    bool IsOpen() const { return file != INVALID_HANDLE_VALUE; }

    void Record(const ActionRecord& record) override;
    // A line of its own: the time and the text.
    void Note(const std::string& text);

private:
    void WriteLine(const std::string& line);

    HANDLE file = INVALID_HANDLE_VALUE;
};
