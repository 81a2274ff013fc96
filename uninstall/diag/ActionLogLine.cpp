#include "ActionLogLine.h"

namespace {
// A registry value or INI key may hold a line break or a tab: one record stays one line.
void AppendOnOneLine(std::string& line, const char* text) {
    for (const char* c = text; c && *c; ++c) line += (*c == '\r' || *c == '\n' || *c == '\t') ? ' ' : *c;
}
}  // namespace

std::string FormatActionLine(const char* time, const ActionRecord& record) {
    std::string line = time ? time : "";
    line += "  ";
    AppendOnOneLine(line, record.step);
    line += "  ";
    AppendOnOneLine(line, record.kind);
    line += " \"";
    AppendOnOneLine(line, record.object);
    line += "\"";
    if (*record.scope) {
        line += " (";
        AppendOnOneLine(line, record.scope);
        line += ")";
    }
    line += ": ";
    line += OutcomeName(record.outcome);
    if (*record.detail) {
        line += ": ";
        AppendOnOneLine(line, record.detail);
    }
    if (record.error) line += " (error " + std::to_string(record.error) + ")";
    return line;
}
