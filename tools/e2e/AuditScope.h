#pragma once
// What the whole-machine audit ([machine] audit = yes) lists beside the scenario's own dump: every
// file and folder of the C: drive and every key and value under a few registry roots, minus what
// changes by itself between two dumps with nothing run (or is not the machine's at all). The
// exclusions are kept here, each with its reason, so that a reader sees in one place what the
// audit cannot vouch for.
#include <string>
#include <vector>

struct AuditExclusion {
    const char* path;    // a folder, file, key or value, compared ignoring case
    const char* reason;  // why the audit leaves it out
};

// The drive walked for files ("C:").
const char* AuditDrive();
// Registry roots walked, as dump paths ("HKLM\SOFTWARE", ...).
const std::vector<std::string>& AuditRegistryRoots();
const std::vector<AuditExclusion>& AuditFileExclusions();
// Keys, or "KEY | VALUE" for one value.
const std::vector<AuditExclusion>& AuditRegistryExclusions();

// True when path is one of the exclusions or lies below one (a path boundary, not a text prefix:
// "C:\windows\temp" does not cover "C:\windows\temporary").
bool IsAuditExcluded(const std::string& path, const std::vector<AuditExclusion>& exclusions);
