#pragma once
// Starts the program at path program (its quoted path as its command line) with the launcher's
// environment and current directory, and waits without time-out until it ends. A failed start is
// ignored.
void RunAndWait(const char* program);
