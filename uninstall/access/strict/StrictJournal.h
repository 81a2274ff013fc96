#pragma once
// One journal line per call that the strict test spooler receives; see StrictJournal.cpp.
#include <string>

class JournalLine {
public:
    explicit JournalLine(const char* function);

    // name="text", or name=null for a null pointer.
    JournalLine& Text(const char* name, const char* value);
    JournalLine& Text(const char* name, const std::string& value) { return Text(name, value.c_str()); }
    JournalLine& Number(const char* name, unsigned long value);
    // " -> result", followed by " err=code" when the call failed.
    JournalLine& Result(long result, bool failed, unsigned long error);

    // Appends the line to the journal file, if there is one; GetLastError is left as it was.
    void Write(const std::string& journalPath) const;

private:
    std::string text_;
};
