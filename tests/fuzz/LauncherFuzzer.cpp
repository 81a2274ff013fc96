// The launcher's string-table switches and its INF line reader. Input: the line-number switch text, a
// line feed, the text the line must begin with, a line feed, then the INF file's bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "LauncherText.h"

namespace {
std::string NextLine(std::string& input) {
    size_t lf = input.find('\n');
    std::string line = input.substr(0, lf);
    input = lf == std::string::npos ? "" : input.substr(lf + 1);
    return line;
}

// Line lineNumber of the file, as much of it as a line buffer keeps, or false when the file has fewer
// lines. Lines end after their line feed; a last line without one still counts.
bool KeptLine(const std::string& file, unsigned lineNumber, std::string& kept) {
    size_t start = 0;
    for (unsigned n = 1; start < file.size(); ++n) {
        size_t lf = file.find('\n', start);
        size_t end = lf == std::string::npos ? file.size() : lf + 1;
        if (n == lineNumber) {
            kept = file.substr(start, std::min<size_t>(end - start, kInfLineSize - 1));
            return true;
        }
        start = end;
    }
    return false;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    std::string switchText = NextLine(input).c_str();
    // As LoadStringA leaves them: 15 characters of a switch, 259 of a text.
    unsigned lineNumber = ParseConfigSwitch(switchText.substr(0, 15).c_str());
    ParseConfigSwitch(switchText.c_str());
    if (switchText.substr(0, 15) == "_YES_" && lineNumber != 1) __builtin_trap();
    std::string lineText = NextLine(input).c_str();
    lineText = lineText.substr(0, kInfLineSize - 1);
    if (input.empty()) return 0;  // fmemopen wants at least one byte

    FILE* file = fmemopen(&input[0], input.size(), "r");
    if (!file) return 0;
    bool found = InfLineBeginsWith(file, lineNumber, lineText.c_str());
    fclose(file);

    std::string kept;
    bool expected = lineNumber != 0 && !lineText.empty() && KeptLine(input, lineNumber, kept) &&
                    kept.compare(0, lineText.size(), lineText) == 0;
    if (found != expected) __builtin_trap();
    return 0;
}
