#pragma once
// Building a scenario's machine, one section kind at a time, through the spooler, service, registry,
// profile and shell APIs. Each function returns "" on success or a reason to report.
#include <string>

#include "MachineVars.h"
#include "Scenario.h"

struct SeedContext {
    VarList vars;
    std::string scenarioDir;  // for "source =" files, as a Windows path ending in "\"
    std::string Expand(const std::string& s) const { return ExpandVars(s, vars); }
};

// Sections with "count = N": N drivers or printers written into the spooler's keys (SeedBulk.cpp).
bool IsBulk(const ScenarioSection& s);
std::string SeedDrivers(const ScenarioSection& s, const SeedContext& cx);
std::string SeedPrinters(const ScenarioSection& s, const SeedContext& cx);

std::string SeedDriver(const ScenarioSection& s, const SeedContext& cx);
std::string SeedPrinter(const ScenarioSection& s, const SeedContext& cx);
std::string SeedMonitor(const ScenarioSection& s, const SeedContext& cx);
std::string SeedProcessor(const ScenarioSection& s, const SeedContext& cx);
std::string SeedService(const ScenarioSection& s, const SeedContext& cx);

std::string SeedDirectory(const ScenarioSection& s, const SeedContext& cx);
std::string SeedFile(const ScenarioSection& s, const SeedContext& cx);
std::string SeedRegistry(const ScenarioSection& s, const SeedContext& cx);
std::string SeedIni(const ScenarioSection& s, const SeedContext& cx);
std::string SeedShortcut(const ScenarioSection& s, const SeedContext& cx);
std::string SeedPending(const ScenarioSection& s, const SeedContext& cx);

// Creates every missing directory above path (path itself when isDir).
bool MakeParents(const std::string& path, bool isDir);
// Writes bytes to a new file, replacing an existing one.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
