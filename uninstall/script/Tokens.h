#pragma once
// In-place field splitting of script lines and command lines.

// With a separator: replaces its first occurrence by NUL and returns the text after it; returns null
// (text unchanged) when the text is null, empty or has no separator.
// With separator 0: text is the current element of a multi-string; returns the next element, or null
// when the current element or the next one is empty.
char* NextToken(char* text, char separator);
// Like NextToken, but a separator between double quotes does not count; the quotes stay.
char* NextQuotedToken(char* text, char separator);
// Removes every occurrence of c at the beginning and at the end of text.
void TrimChar(char* text, char c);
