#include "ScriptSearch.h"

#include "BoundedText.h"
#include "FileSpec.h"
#include "Locations.h"
#include "UninstallDatabase.h"

namespace {
void SearchLocation(TextList& scripts, int location, const char* subdirectory, const char* fileName) {
    FileSpec directory;
    directory.ResolveLocation(location);
    if (directory.directory.IsEmpty()) return;  // the platform had no answer: nothing to search
    if (subdirectory) directory.AppendSubdirectory(subdirectory);
    UninstallDatabase::FindScripts(scripts, directory.DirectoryPath(), fileName);
}
}  // namespace

int FindUninstallScripts(TextList& scripts) {
    char fileName[64];
    FormatText(fileName, sizeof fileName, "%s", "Qunz__01.unm");

    SearchLocation(scripts, kLocPrintDriverDir, nullptr, fileName);
    SearchLocation(scripts, kLocPrintDriverDir, "3", fileName);
    SearchLocation(scripts, kLocProgramDir, nullptr, fileName);
    SearchLocation(scripts, kLocSystemDir, nullptr, fileName);

    // The same directory can come up twice (a program run from the system directory); each script
    // is read once, in path order.
    scripts.Sort();
    scripts.Unique();
    return scripts.Count();
}
