#include "ScriptSearch.h"

#include <windows.h>

#include "BoundedText.h"
#include "FileSpec.h"
#include "Locations.h"
#include "UninstallDatabase.h"

namespace {
// Returns 0, or the error of a directory the system could not name or search.
unsigned long SearchLocation(TextList& scripts, int location, const char* subdirectory,
                             const char* fileName) {
    FileSpec directory;
    directory.ResolveLocation(location);
    if (directory.directory.IsEmpty()) {
        // Nothing to search; the error is that of the call that could not name the directory.
        unsigned long error = GetLastError();
        return error ? error : ERROR_PATH_NOT_FOUND;
    }
    if (subdirectory) directory.AppendSubdirectory(subdirectory);
    return UninstallDatabase::FindScripts(scripts, directory.DirectoryPath(), fileName);
}
}  // namespace

int FindUninstallScripts(TextList& scripts, unsigned long* unsearched) {
    char fileName[64];
    FormatText(fileName, sizeof fileName, "%s", "Qunz__01.unm");

    const struct {
        int location;
        const char* subdirectory;
    } places[] = {
        {kLocPrintDriverDir, nullptr},
        {kLocPrintDriverDir, "3"},
        {kLocProgramDir, nullptr},
        {kLocSystemDir, nullptr},
    };
    if (unsearched) *unsearched = 0;
    for (const auto& place : places) {
        unsigned long error = SearchLocation(scripts, place.location, place.subdirectory, fileName);
        if (unsearched && !*unsearched) *unsearched = error;
    }

    // The same directory can come up twice (a program run from the system directory); each script
    // is read once, in path order.
    scripts.Sort();
    scripts.Unique();
    return scripts.Count();
}
