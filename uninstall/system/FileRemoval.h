#pragma once
// Deleting the files the removal profile names in every search location, deferring files in use.
#include "spooler/RemovalContext.h"

// 1 when the file no longer exists, 0 when its deletion was scheduled for the next restart.
int DeleteFileOrDefer(RemovalContext& ctx, const char* path);
void RemoveFilesStep(RemovalContext& ctx);
