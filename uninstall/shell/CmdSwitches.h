#pragma once
// The command-line switch table: "/NAME:value,value" or "-NAME" tokens in command-line order.
// Each entry is a TextList whose first item is the switch name and whose further items are its values,
// kept as written (double quotes included). Pure: the caller passes the command-line text.
#include <vector>

#include "script/TextList.h"

class CCmdSwitches {
public:
    // The longest command line that is read; longer ones are cut. Names and values are cut at 259.
    static const int kCommandLineCapacity = 4096;

    // Appends one entry per switch of the command line (program path included). Returns 1 when at
    // least one switch was stored, else 0.
    int Parse(const char* commandLine);

    // Number of values of the last entry named name (ignoring case), 0 for a switch without values,
    // -1 when no entry has that name.
    int Find(const char* name) const;
    bool Has(const char* name) const { return Find(name) >= 0; }

    // Collects the values of every entry named name, in entry order, as a multi-string. *size receives
    // the needed size (values with their NULs plus the final NUL; 0 when there are none). Copies and
    // returns 1 only when buffer is given and the needed size is smaller than the capacity passed in
    // *size; with no values a buffer of at least one byte receives an empty multi-string and the result
    // is 1. A missing size or an empty or missing name returns 0 at once.
    int GetValues(const char* name, char* buffer, int* size) const;

    // Words after the program's path that are no switch; they are ignored.
    int StrayArguments() const { return strayArguments_; }

    int Count() const { return static_cast<int>(entries_.size()); }
    const TextList& Entry(int index) const { return entries_[static_cast<size_t>(index)]; }

private:
    void AddSwitch(char* token);

    std::vector<TextList> entries_;
    int strayArguments_ = 0;
};
