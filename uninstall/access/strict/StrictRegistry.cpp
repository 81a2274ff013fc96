// The registry functions of the strict QSPOOL01.DLL used by the tests: Wine's own, plus the
// failures a test asks for ([Fail] with the function's name; the error is the result) and a
// journal line per call that names each key by its path.
#include <windows.h>

#include "StrictState.h"

namespace {

LONG Finish(const StrictCall& call, JournalLine& line, LONG result) {
    line.Result(result, false, 0);
    call.Log(line);
    return result;
}

bool Injected(const char* function, LONG* result) {
    DWORD error = 0;
    if (!InjectFailure(function, "", -1, &error)) return false;
    *result = static_cast<LONG>(error);
    return true;
}

JournalLine Line(const char* function, HKEY key) {
    JournalLine line(function);
    line.Text("key", KeyPath(key));
    return line;
}

}  // namespace

extern "C" {

LONG WINAPI StRegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) {
    StrictCall call;
    JournalLine line = Line("RegOpenKeyExA", key);
    line.Text("subkey", subKey).Number("access", access);
    LONG status;
    if (Injected("RegOpenKeyExA", &status)) return Finish(call, line, status);
    status = RegOpenKeyExA(key, subKey, options, access, result);
    if (status == ERROR_SUCCESS && result != nullptr) RememberKey(*result, key, subKey);
    return Finish(call, line, status);
}

LONG WINAPI StRegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result) {
    StrictCall call;
    JournalLine line = Line("RegOpenKeyA", key);
    line.Text("subkey", subKey);
    LONG status;
    if (Injected("RegOpenKeyA", &status)) return Finish(call, line, status);
    status = RegOpenKeyA(key, subKey, result);
    if (status == ERROR_SUCCESS && result != nullptr) RememberKey(*result, key, subKey);
    return Finish(call, line, status);
}

LONG WINAPI StRegCloseKey(HKEY key) {
    StrictCall call;
    JournalLine line = Line("RegCloseKey", key);
    LONG status;
    if (Injected("RegCloseKey", &status)) return Finish(call, line, status);
    status = RegCloseKey(key);
    if (status == ERROR_SUCCESS) ForgetKey(key);
    return Finish(call, line, status);
}

LONG WINAPI StRegDeleteValueA(HKEY key, LPCSTR value) {
    StrictCall call;
    JournalLine line = Line("RegDeleteValueA", key);
    line.Text("value", value);
    LONG status;
    if (Injected("RegDeleteValueA", &status)) return Finish(call, line, status);
    return Finish(call, line, RegDeleteValueA(key, value));
}

LONG WINAPI StRegDeleteKeyA(HKEY key, LPCSTR subKey) {
    StrictCall call;
    JournalLine line = Line("RegDeleteKeyA", key);
    line.Text("subkey", subKey);
    LONG status;
    if (Injected("RegDeleteKeyA", &status)) return Finish(call, line, status);
    return Finish(call, line, RegDeleteKeyA(key, subKey));
}

LONG WINAPI StRegEnumKeyA(HKEY key, DWORD index, LPSTR name, DWORD nameSize) {
    StrictCall call;
    JournalLine line = Line("RegEnumKeyA", key);
    line.Number("index", index).Number("size", nameSize);
    LONG status;
    if (Injected("RegEnumKeyA", &status)) return Finish(call, line, status);
    status = RegEnumKeyA(key, index, name, nameSize);
    line.Result(status, false, 0);
    if (status == ERROR_SUCCESS) line.Text("name", name);
    call.Log(line);
    return status;
}

LONG WINAPI StRegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved,
                            LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    StrictCall call;
    JournalLine line = Line("RegEnumValueA", key);
    line.Number("index", index);
    LONG status;
    if (Injected("RegEnumValueA", &status)) return Finish(call, line, status);
    status = RegEnumValueA(key, index, name, nameSize, reserved, type, data, dataSize);
    line.Result(status, false, 0);
    if (status == ERROR_SUCCESS) line.Text("name", name);
    call.Log(line);
    return status;
}

LONG WINAPI StRegQueryValueExA(HKEY key, LPCSTR value, LPDWORD reserved, LPDWORD type, LPBYTE data,
                               LPDWORD dataSize) {
    StrictCall call;
    JournalLine line = Line("RegQueryValueExA", key);
    line.Text("value", value).Number("size", dataSize ? *dataSize : 0);
    LONG status;
    if (Injected("RegQueryValueExA", &status)) return Finish(call, line, status);
    return Finish(call, line, RegQueryValueExA(key, value, reserved, type, data, dataSize));
}

LONG WINAPI StRegSetValueExA(HKEY key, LPCSTR value, DWORD reserved, DWORD type, const BYTE* data,
                             DWORD dataSize) {
    StrictCall call;
    JournalLine line = Line("RegSetValueExA", key);
    line.Text("value", value).Number("type", type).Number("size", dataSize);
    LONG status;
    if (Injected("RegSetValueExA", &status)) return Finish(call, line, status);
    return Finish(call, line, RegSetValueExA(key, value, reserved, type, data, dataSize));
}
}
