#pragma once
// The text of a removal notice: a string-table text with its "%s" filled in.
#include <cstddef>

// Copies pattern into dst, with the first "%s" replaced by argument and "%%" by "%". Every other
// "%" stays as it is: the pattern may come from an INI file, so it is never used as a printf
// format. Cuts at capacity and always terminates; returns 1 when the whole text fit, else 0.
int FormatPrompt(char* dst, size_t capacity, const char* pattern, const char* argument);
