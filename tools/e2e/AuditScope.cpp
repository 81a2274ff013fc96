#include "AuditScope.h"

#include "Scenario.h"

const char* AuditDrive() {
    return "C:";
}

// HKEY_CLASSES_ROOT is not walked on its own: it is the merged view of HKLM\SOFTWARE\Classes and
// HKCU\Software\Classes, which the two roots below already list (Wine writes HKCR to the former).
// Walking it as well would double the largest part of the registry and the dump's time.
const std::vector<std::string>& AuditRegistryRoots() {
    static const std::vector<std::string> roots = {
        "HKLM\\SOFTWARE",
        "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print",
        "HKLM\\SYSTEM\\CurrentControlSet\\Services",
        "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager",
        "HKCU",
    };
    return roots;
}

const std::vector<AuditExclusion>& AuditFileExclusions() {
    static const std::vector<AuditExclusion> exclusions = {
        {"C:\\users\\root\\AppData\\Roaming\\Microsoft\\Windows\\Templates",
         "a link to the host's home folder that Wine's prefix creation leaves; not the machine's"},
    };
    return exclusions;
}

const std::vector<AuditExclusion>& AuditRegistryExclusions() {
    static const std::vector<AuditExclusion> exclusions = {
        {"HKCU\\Software\\Wine\\Temporary System Parameters",
         "Wine's user32 notes system parameters here when a program with windows starts"},
    };
    return exclusions;
}

bool IsAuditExcluded(const std::string& path, const std::vector<AuditExclusion>& exclusions) {
    for (const auto& e : exclusions) {
        std::string x = e.path;
        if (!StartsWithNoCase(path, x)) continue;
        if (path.size() == x.size() || path[x.size()] == '\\' || path.compare(x.size(), 3, " | ") == 0)
            return true;
    }
    return false;
}
