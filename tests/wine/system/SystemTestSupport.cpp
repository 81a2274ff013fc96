#include "SystemTestSupport.h"

#include <doctest/doctest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "script/FileSpec.h"
#include "script/Locations.h"

void RecordingLog::Record(const ActionRecord& record) {
    std::string line = std::string(OutcomeName(record.outcome)) + " " + record.kind + " " + record.object;
    if (*record.detail) line += std::string(" | ") + record.detail;
    if (record.error) line += " | error " + std::to_string(record.error);
    lines.push_back(line);
    scopes.push_back(record.scope);
}

std::vector<std::string> DryRunOf(const std::vector<std::string>& lines) {
    std::vector<std::string> dry;
    for (const std::string& line : lines) {
        std::string head = line.substr(0, line.find(' '));
        if (head == "removed" || head == "deferred")
            dry.push_back("present" + line.substr(head.size(), line.find(" | ") - head.size()));
        else if (head == "kept")
            dry.push_back(line.substr(0, line.find(" | error ")));
    }
    return dry;
}

std::string WindowsDirectory() {
    return LocationPath(kLocWindowsDir);
}

std::string LocationPath(int location) {
    FileSpec spec;
    spec.ResolveLocation(location);
    return spec.DirectoryPath();
}

void WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void SetStringValue(HKEY root, const std::string& key, const char* name, const char* value) {
    HKEY handle = NULL;
    REQUIRE(RegCreateKeyA(root, key.c_str(), &handle) == ERROR_SUCCESS);
    if (name)
        REQUIRE(RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                               static_cast<DWORD>(strlen(value) + 1)) == ERROR_SUCCESS);
    RegCloseKey(handle);
}

bool KeyExists(HKEY root, const std::string& key) {
    return ValueExists(root, key, NULL);
}

bool ValueExists(HKEY root, const std::string& key, const char* name) {
    HKEY handle = NULL;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    bool found = !name || RegQueryValueExA(handle, name, NULL, NULL, NULL, NULL) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return found;
}
