#pragma once
// The file names under which a shortcut of a script's Shortcuts list may lie in a folder.
#include "script/TextList.h"

// Appends to names, in the order they are tried: the description's base name as written (any
// directory part dropped), then its name part with ".LNK" and with ".PIF". A name part is what comes
// before the last dot, so a description with a dot of its own ("Version 1.2") would never find
// "Version 1.2.lnk": when the text after the last dot is not already .LNK or .PIF, the whole base
// name with ".LNK" and ".PIF" is tried as well. A name that would not fit a text is left out.
void ShortcutFileNames(const char* description, TextList& names);
