#include "ActionLogLine.h"

std::string FormatActionLine(const char* time, const ActionRecord& record) {
    std::string line = time ? time : "";
    line += "  ";
    line += record.step;
    line += "  ";
    line += record.kind;
    line += " \"";
    line += record.object;
    line += "\"";
    if (*record.scope) {
        line += " (";
        line += record.scope;
        line += ")";
    }
    line += ": ";
    line += OutcomeName(record.outcome);
    if (*record.detail) {
        line += ": ";
        line += record.detail;
    }
    if (record.error) line += " (error " + std::to_string(record.error) + ")";
    return line;
}
