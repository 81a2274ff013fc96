#include "ActionLogFile.h"

#include "diag/ActionLogLine.h"
#include "script/BoundedText.h"

namespace {
std::string Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char text[32];
    FormatText(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
               t.wMinute, t.wSecond);
    return text;
}
}  // namespace

ActionLogFile::~ActionLogFile() {
    if (IsOpen()) CloseHandle(file);
}

bool ActionLogFile::Open(const std::string& path) {
    if (IsOpen() || path.empty()) return false;
    // Shared for writing: another copy that appends to the same log must not be locked out.
    file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, NULL);
    return IsOpen();
}

void ActionLogFile::Record(const ActionRecord& record) {
    WriteLine(FormatActionLine(Now().c_str(), record));
}

void ActionLogFile::Note(const std::string& text) {
    WriteLine(Now() + "  " + text);
}

void ActionLogFile::WriteLine(const std::string& line) {
    if (!IsOpen()) return;
    const std::string text = line + "\r\n";
    // At the end each time: another copy may have appended in between.
    SetFilePointer(file, 0, NULL, FILE_END);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, NULL);
}
