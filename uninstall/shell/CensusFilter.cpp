#include "CensusFilter.h"

#include <cstring>
#include <vector>

#include "script/TextItem.h"
#include "script/Tokens.h"
#include "shell/CmdSwitches.h"

namespace {
enum MatchKind { kPrefix, kWhole };

bool MatchesAnyValue(const CCmdSwitches& switches, const char* name, const char* text, MatchKind kind) {
    // Sized by what the list needs: a list that did not fit would match no printer at all.
    int size = 0;
    switches.GetValues(name, nullptr, &size);
    std::vector<char> buffer(static_cast<size_t>(size) + 1);
    size = static_cast<int>(buffer.size());
    if (!switches.GetValues(name, buffer.data(), &size)) return false;
    const char* values = buffer.data();
    // Walk by the size: an empty value is an empty text inside the multi-string, not its end.
    const char* end = values + (size > 0 ? size - 1 : 0);
    for (const char* value = values; value < end; value += strlen(value) + 1) {
        TextItem trimmed(value);
        TrimChar(trimmed.Buffer(), '"');
        const char* wanted = trimmed.Text();
        bool match = kind == kPrefix ? CompareNoCaseN(text, wanted, strlen(wanted)) == 0
                                     : CompareNoCase(text, wanted) == 0;
        if (match) return true;
    }
    return false;
}
}  // namespace

bool MatchesCensusSwitches(const CCmdSwitches& switches, const char* name, const char* driver,
                           const char* vizoredName) {
    bool matches = true;
    if (switches.Has("MFG") || switches.Has("PRN")) {
        matches = MatchesAnyValue(switches, "MFG", driver, kPrefix) ||
                  MatchesAnyValue(switches, "PRN", driver, kWhole);
    }
    if (switches.Has("UNVIZ") && (vizoredName == nullptr || *vizoredName == 0)) matches = false;
    if (switches.Has("PRINTER") && !MatchesAnyValue(switches, "PRINTER", name, kWhole)) matches = false;
    return matches;
}

bool HasCensusFilter(const CCmdSwitches& switches) {
    return switches.Has("MFG") || switches.Has("PRN") || switches.Has("UNVIZ") || switches.Has("PRINTER");
}
