#include "CensusFilter.h"

#include <cstring>

#include "script/TextItem.h"
#include "script/Tokens.h"
#include "shell/CmdSwitches.h"

namespace {
// The switch values are read into a buffer of this size; values that together need more cannot be
// read at all, so such a switch matches no printer.
const int kValueBufferSize = 256;

enum MatchKind { kPrefix, kWhole };

bool MatchesAnyValue(const CCmdSwitches& switches, const char* name, const char* driver, MatchKind kind) {
    char values[kValueBufferSize];
    int size = kValueBufferSize;
    if (!switches.GetValues(name, values, &size)) return false;
    // Walk by the size: an empty value is an empty text inside the multi-string, not its end.
    const char* end = values + (size > 0 ? size - 1 : 0);
    for (const char* value = values; value < end; value += strlen(value) + 1) {
        TextItem trimmed(value);
        TrimChar(trimmed.Buffer(), '"');
        const char* text = trimmed.Text();
        bool match = kind == kPrefix ? CompareNoCaseN(driver, text, strlen(text)) == 0
                                     : CompareNoCase(driver, text) == 0;
        if (match) return true;
    }
    return false;
}
}  // namespace

bool MatchesCensusSwitches(const CCmdSwitches& switches, const char* driver, const char* vizoredName) {
    bool matches = true;
    if (switches.Has("MFG") || switches.Has("PRN")) {
        matches = MatchesAnyValue(switches, "MFG", driver, kPrefix) ||
                  MatchesAnyValue(switches, "PRN", driver, kWhole);
    }
    if (switches.Has("UNVIZ") && (vizoredName == nullptr || *vizoredName == 0)) matches = false;
    return matches;
}
