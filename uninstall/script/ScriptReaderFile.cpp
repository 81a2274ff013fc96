#include <windows.h>

#include <memory>

#include "ScriptReader.h"

bool ScriptReader::Load(const char* path) {
    loadError_ = 0;
    if (!sections_.empty() || !path) return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        loadError_ = GetLastError();
        return false;
    }
    DWORD size = GetFileSize(file, nullptr);
    // The image gets three more bytes (CR LF NUL), so a size near the 4 GB limit is refused too.
    if (size == 0 || size == INVALID_FILE_SIZE || size > 0xFFFFFFF0u) {
        DWORD error = size == INVALID_FILE_SIZE ? GetLastError() : NO_ERROR;
        if (size != 0) loadError_ = error != NO_ERROR ? error : ERROR_FILE_TOO_LARGE;
        CloseHandle(file);
        return false;
    }
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[size + 3]);
    DWORD read = 0;
    BOOL ok = buffer && ReadFile(file, buffer.get(), size, &read, nullptr);
    if (!ok) loadError_ = buffer ? GetLastError() : ERROR_NOT_ENOUGH_MEMORY;
    CloseHandle(file);
    if (!ok || read == 0) return false;
    // A short read parses what arrived; the line end and terminator go right after it.
    buffer[read] = '\r';
    buffer[read + 1] = '\n';
    buffer[read + 2] = 0;
    Parse(buffer.get(), read + 2);
    return true;
}
