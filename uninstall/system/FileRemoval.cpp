#include "FileRemoval.h"

// Placeholder until the step is built.
int DeleteFileOrDefer(RemovalContext&, const char*) {
    return 1;
}
// Placeholder until the step is built.
void RemoveFilesStep(RemovalContext&) {}
