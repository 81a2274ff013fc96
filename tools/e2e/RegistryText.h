#pragma once
// Registry keys and values as scenario and dump text:
//   key:   HKLM\SOFTWARE\X (also HKCU, HKCR, HKU and the long HKEY_ names)
//   value: sz:text  expand:text  dword:12 (or 0x0C)  multi:a|b|c  hex:01,ff  none:
#include <windows.h>

#include <string>

// Splits "HKLM\path" into the root and the rest; false for an unknown root.
bool SplitRegistryPath(const std::string& full, HKEY& root, std::string& sub);
// Builds type and bytes from "type:data"; text without a known type prefix is sz.
void EncodeRegistryValue(const std::string& text, DWORD& type, std::string& bytes);
// The "type:data" text of a value as the dump writes it.
std::string DescribeRegistryValue(DWORD type, const std::string& bytes);
