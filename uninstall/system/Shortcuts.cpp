#include "Shortcuts.h"

// Placeholder until the step is built.
void RemoveShortcutsStep(RemovalContext&) {}
