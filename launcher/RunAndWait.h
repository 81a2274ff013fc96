#pragma once
// Starts commandLine as it stands (not quoted: a path with blanks is resolved by CreateProcessA's
// rules for unquoted command lines) with the launcher's environment and current directory, and waits
// without time-out until it ends. A failed start is ignored.
void RunAndWait(const char* commandLine);
