#include "ReportFile.h"

#include <vector>

ReportFile::~ReportFile() {
    if (IsCreated()) CloseHandle(file);
}

bool ReportFile::Create(const std::string& path) {
    if (IsCreated() || path.empty()) return false;
    // Opened and then emptied rather than created anew: the system refuses to create a file over
    // one that is hidden or a system file, which a detection script may have made of its report.
    file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    if (SetEndOfFile(file)) return true;
    CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
    return false;
}

bool ReportFile::Write(const RemovalReport& report) {
    if (!IsCreated()) return false;
    const std::string text = report.ToJson(AnsiToUtf8);
    DWORD written = 0;
    bool whole = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, NULL) &&
                 written == text.size();
    // A report that did not reach the disk whole is as good as none.
    whole = CloseHandle(file) && whole;
    file = INVALID_HANDLE_VALUE;
    return whole;
}

std::string AnsiToUtf8(const std::string& ansi) {
    if (ansi.empty()) return ansi;
    const int length = static_cast<int>(ansi.size());
    int wideLength = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, NULL, 0);
    if (wideLength <= 0) return ansi;
    std::vector<wchar_t> wide(static_cast<size_t>(wideLength));
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), wideLength);
    int utf8Length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, NULL, 0, NULL, NULL);
    if (utf8Length <= 0) return ansi;
    std::string utf8(static_cast<size_t>(utf8Length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, &utf8[0], utf8Length, NULL, NULL);
    return utf8;
}
