#include <doctest/doctest.h>

#include "AuditScope.h"

TEST_CASE("audit exclusions cover a path and what lies below it, ignoring case, nothing beside it") {
    const std::vector<AuditExclusion> exclusions = {{"C:\\windows\\temp", "test"},
                                                    {"HKCU\\Software\\X", "test"}};
    const struct {
        const char* path;
        bool excluded;
    } cases[] = {
        {"C:\\windows\\temp", true},           {"c:\\WINDOWS\\TEMP\\a.log", true},
        {"C:\\windows\\temporary", false},     {"C:\\windows", false},
        {"HKCU\\Software\\X\\Sub", true},      {"HKCU\\Software\\X | value", true},
        {"HKCU\\Software\\XY | value", false},
    };
    for (const auto& c : cases) {
        CAPTURE(c.path);
        CHECK(IsAuditExcluded(c.path, exclusions) == c.excluded);
    }
}

TEST_CASE("every audit exclusion lies on the drive or under a root the audit walks, with a reason") {
    for (const auto& e : AuditFileExclusions()) {
        CAPTURE(e.path);
        CHECK(std::string(e.path).rfind(std::string(AuditDrive()) + "\\", 0) == 0);
        CHECK(*e.reason);
    }
    for (const auto& e : AuditRegistryExclusions()) {
        CAPTURE(e.path);
        bool underRoot = false;
        for (const auto& root : AuditRegistryRoots())
            underRoot = underRoot || IsAuditExcluded(e.path, {{root.c_str(), ""}});
        CHECK(underRoot);
        CHECK(*e.reason);
    }
}
