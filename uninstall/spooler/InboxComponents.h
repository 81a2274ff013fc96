#pragma once
// Spooler components and services that Windows itself installs. Scripts have named them (an
// installer that registered its own port on the standard TCP/IP monitor lists that monitor), but
// deleting one would take the port or print processor away from every other printer on the machine,
// or the spooler or the system services it stands on away from Windows, so the removal never deletes
// them, whatever a script says.

// True when name (ignoring case) is a port monitor that ships with Windows.
bool IsInboxMonitor(const char* name);
// True when name (ignoring case) is the print processor that ships with Windows.
bool IsInboxPrintProcessor(const char* name);
// True when name (ignoring case) is one of Windows' own services: the spooler, the services it
// depends on, and the core services that Windows cannot run without.
bool IsWindowsService(const char* name);
