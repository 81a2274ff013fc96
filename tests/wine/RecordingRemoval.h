#pragma once
// A removal context for step tests: a database of this system's family, the prompts answered
// with OK, and a log that keeps one line per record: "object outcome detail" (detail when given).
#include <windows.h>

#include <string>
#include <vector>

#include "script/UninstallDatabase.h"
#include "spooler/RemovalContext.h"

struct RecordingRemoval : RemovalPrompts, ActionLog {
    UninstallDatabase db{COSInfo().GetFamily()};
    RemovalContext ctx{db, *this, *this};
    std::vector<std::string> records;
    std::vector<unsigned long> errors;

    int Show(UINT, UINT, const char*) override { return IDOK; }
    void Record(const ActionRecord& r) override {
        std::string line = std::string(r.object) + " " + OutcomeName(r.outcome);
        if (r.detail[0]) line += std::string(" ") + r.detail;
        records.push_back(line);
        errors.push_back(r.error);
    }
};
