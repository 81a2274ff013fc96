#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>

#include "RegistryText.h"
#include "Seed.h"

bool MakeParents(const std::string& path, bool isDir) {
    std::string dir = isDir ? path : path.substr(0, path.find_last_of('\\'));
    for (size_t i = 3; i <= dir.size(); ++i) {
        if (i == dir.size() || dir[i] == '\\') {
            std::string part = dir.substr(0, i);
            if (GetFileAttributesA(part.c_str()) == INVALID_FILE_ATTRIBUTES && !CreateDirectoryA(part.c_str(), nullptr))
                return false;
        }
    }
    return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    if (!MakeParents(path, false)) return false;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

std::string SeedDirectory(const ScenarioSection& s, const SeedContext& cx) {
    return MakeParents(cx.Expand(s.name), true) ? "" : "cannot create directory";
}

// Content comes from "content" (escapes allowed), from "source" (a file beside the scenario, copied
// byte for byte, e.g. an uninstall script), from "built" (a program of the build, taken from beside
// the seeder, e.g. a stand-in for a driver package's DLL) or is a one-line stand-in naming the file.
std::string SeedFile(const ScenarioSection& s, const SeedContext& cx) {
    std::string path = cx.Expand(s.name);
    std::string bytes;
    if (s.Has("source") || s.Has("built")) {
        std::string from = cx.scenarioDir + s.Get("source");
        if (s.Has("built")) {
            char seeder[MAX_PATH] = "";
            GetModuleFileNameA(nullptr, seeder, MAX_PATH);
            from = std::string(seeder);
            from = from.substr(0, from.find_last_of('\\') + 1) + s.Get("built");
        }
        std::ifstream in(from, std::ios::binary);
        if (!in) return "cannot read source " + from;
        std::stringstream ss;
        ss << in.rdbuf();
        bytes = ss.str();
    } else if (s.Has("content")) {
        bytes = cx.Expand(Unescape(s.Get("content")));
    } else {
        bytes = "file " + path + "\r\n";
    }
    if (!WriteWholeFile(path, bytes)) return "cannot write " + path + ", error " + std::to_string(GetLastError());
    if (EqualNoCase(s.Get("readonly", "no"), "yes") && !SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY))
        return "cannot make " + path + " read-only";
    return "";
}

// "name = type:data" lines; "@" names the default value. A section without lines makes the key.
std::string SeedRegistry(const ScenarioSection& s, const SeedContext& cx) {
    HKEY root;
    std::string sub;
    if (!SplitRegistryPath(cx.Expand(s.name), root, sub)) return "unknown registry root in " + s.name;
    HKEY h;
    LONG rc = RegCreateKeyExA(root, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr);
    if (rc != ERROR_SUCCESS) return "RegCreateKeyExA gave " + std::to_string(rc);
    for (const auto& e : s.entries) {
        DWORD type;
        std::string bytes;
        EncodeRegistryValue(cx.Expand(e.value), type, bytes);
        std::string name = e.key == "@" ? "" : e.key;
        rc = RegSetValueExA(h, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                            static_cast<DWORD>(bytes.size()));
        if (rc != ERROR_SUCCESS) break;
    }
    RegCloseKey(h);
    return rc == ERROR_SUCCESS ? "" : "RegSetValueExA gave " + std::to_string(rc);
}

// [ini FILE | SECTION] with "key = value" lines, written through the profile API, so that win.ini's
// [windows] section lands where Windows (and Wine) keep it.
std::string SeedIni(const ScenarioSection& s, const SeedContext& cx) {
    std::vector<std::string> parts = SplitList(s.name, '|');
    if (parts.size() != 2) return "an ini section is named [ini FILE | SECTION]";
    std::string file = cx.Expand(parts[0]);
    if (file.find('\\') != std::string::npos) MakeParents(file, false);
    for (const auto& e : s.entries) {
        std::string value = cx.Expand(Unescape(e.value));
        if (!WritePrivateProfileStringA(parts[1].c_str(), e.key.c_str(), value.c_str(), file.c_str()))
            return "WritePrivateProfileStringA(" + e.key + ") failed";
    }
    if (s.entries.empty() &&
        !WritePrivateProfileStringA(parts[1].c_str(), "", nullptr, file.c_str()))
        return "cannot create section";
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());  // flush the profile cache
    return "";
}

std::string SeedShortcut(const ScenarioSection& s, const SeedContext& cx) {
    std::string path = cx.Expand(s.name);
    if (!MakeParents(path, false)) return "cannot create the shortcut's folder";
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link));
    if (SUCCEEDED(hr)) {
        link->SetPath(cx.Expand(s.Get("target", "%WINDIR%\\notepad.exe")).c_str());
        link->SetArguments(cx.Expand(s.Get("arguments")).c_str());
        link->SetWorkingDirectory(cx.Expand(s.Get("workdir")).c_str());
        IPersistFile* file = nullptr;
        hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        if (SUCCEEDED(hr)) {
            wchar_t wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
            hr = file->Save(wide, TRUE);
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return SUCCEEDED(hr) ? "" : "shell link failed, hr " + std::to_string(static_cast<long>(hr));
}

// [pending] with "delete = path" lines: deletions already queued for the next restart.
std::string SeedPending(const ScenarioSection& s, const SeedContext& cx) {
    for (const auto& e : s.entries) {
        if (!EqualNoCase(e.key, "delete")) return "unknown pending entry " + e.key;
        if (!MoveFileExA(cx.Expand(e.value).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
            return "MoveFileExA failed, error " + std::to_string(GetLastError());
    }
    return "";
}
