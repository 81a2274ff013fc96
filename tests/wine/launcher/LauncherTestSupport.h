#pragma once
// Files, trees and processes for the launcher tests. Every test program runs in a throwaway Wine
// prefix, so scratch folders are made under C:\lt and never cleaned up.
#include <string>

// The folder of the running test program, where the build puts SETUPGATE.EXE and its test copies.
std::string ProgramDir();
// A new, empty folder C:\lt\<tag>-<n>.
std::string MakeScratchDir(const char* tag);
// Creates path and every missing parent folder.
void MakeDirs(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
// Copies a program of the build folder (e.g. "SETUPGATE.EXE") to target.
void CopyProgram(const char* name, const std::string& target);
// Puts the recording stand-in installer as "setup.exe" into folder, with the companion file beside it
// when withCompanion is set.
void PlacePackage(const std::string& folder, bool withCompanion = true);
// Starts a program with the given current folder and waits for it; returns its exit code.
unsigned long RunProgram(const std::string& program, const std::string& currentDir);

// What the stand-in installer in folder recorded; ran is false when it never started there.
struct InstallerRecord {
    bool ran = false;
    bool finished = false;
    std::string commandLine;
    std::string currentDir;
};
InstallerRecord ReadInstallerRecord(const std::string& folder);
