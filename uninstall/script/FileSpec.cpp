// The Windows half of FileSpec: well-known locations, searching and probing files.
#include "FileSpec.h"

#include <windows.h>
#include <shlobj.h>

#include "BoundedText.h"
#include "Locations.h"
#include "shell/OSInfo.h"

namespace {
const DWORD kPathSize = TextItem::kCapacity;

// The Get...DirectoryA functions answer the length they need when the buffer is too small and
// leave the buffer unfilled; such an answer is treated as a failure.
bool Fits(DWORD length) { return length != 0 && length < kPathSize; }

void ProgramFile(TextItem& out) {
    if (!Fits(GetModuleFileNameA(nullptr, out.Buffer(), kPathSize))) out.Clear();
}

void WindowsDirectory(TextItem& out) {
    if (!Fits(GetWindowsDirectoryA(out.Buffer(), kPathSize))) out.Clear();
}

void SystemDirectory(TextItem& out) {
    if (!Fits(GetSystemDirectoryA(out.Buffer(), kPathSize))) out.Clear();
}

void TempDirectory(TextItem& out) {
    if (!Fits(GetTempPathA(kPathSize, out.Buffer()))) out.Clear();
}

void CurrentDirectory(TextItem& out) {
    if (!Fits(GetCurrentDirectoryA(kPathSize, out.Buffer()))) out.Clear();
}

void PrinterDriverDirectory(const char* environment, TextItem& out) {
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(environment), 1,
                                    reinterpret_cast<BYTE*>(out.Buffer()), kPathSize, &needed))
        out.Clear();
}

void PrintProcessorDirectory(TextItem& out) {
    DWORD needed = 0;
    if (!GetPrintProcessorDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(out.Buffer()), kPathSize,
                                     &needed))
        out.Clear();
}

typedef BOOL(WINAPI* GetColorDirectoryFn)(PCSTR, PSTR, PDWORD);

bool ColorDirectoryFromColorSystem(TextItem& out) {
    // From the system directory only: where the system has no colour system (Windows 95, NT 4) a
    // search by name would go on to the program's and the current directory and to PATH.
    TextItem library;
    SystemDirectory(library);
    if (library.IsEmpty() || !AppendBackslash(library) || !library.Append("mscms.dll")) return false;
    HMODULE mscms = LoadLibraryA(library.Text());
    if (!mscms) return false;
    bool found = false;
    GetColorDirectoryFn getColorDirectory =
        reinterpret_cast<GetColorDirectoryFn>(reinterpret_cast<void*>(GetProcAddress(mscms, "GetColorDirectoryA")));
    DWORD size = kPathSize;
    if (getColorDirectory && getColorDirectory(nullptr, out.Buffer(), &size)) found = true;
    else out.Clear();
    FreeLibrary(mscms);
    return found;
}

void ColorDirectory(TextItem& out) {
    if (!COSInfo().IsWin32s() && ColorDirectoryFromColorSystem(out)) return;
    SystemDirectory(out);
    if (out.IsEmpty()) return;
    if (!(AppendBackslash(out) && out.Append("Color"))) {
        out.Clear();
        return;
    }
    // Probed by attributes, so the process's current directory stays where it is.
    DWORD attributes = GetFileAttributesA(out.Text());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        CreateDirectoryA(out.Text(), nullptr);  // a failure still names the usual directory
}

void InfDirectory(TextItem& out) {
    WindowsDirectory(out);
    if (out.IsEmpty()) return;
    if (!(AppendBackslash(out) && out.Append("INF"))) out.Clear();
}

// The location's text as the platform answers it; empty when it cannot answer.
void LocationText(int location, TextItem& out) {
    out.Clear();
    int csidl = ShellFolderCsidl(location);
    if (csidl >= 0) {
        ShellFolderPath(csidl, out);
        return;
    }
    switch (location) {
    case kLocProgramFile:
    case kLocProgramDir: ProgramFile(out); break;
    case kLocWindowsDir: WindowsDirectory(out); break;
    case kLocSystemDir: SystemDirectory(out); break;
    case kLocTempDir: TempDirectory(out); break;
    case kLocPrintDriverDir: PrinterDriverDirectory(nullptr, out); break;
    case kLocPrintDriverDirW40: PrinterDriverDirectory("Windows 4.0", out); break;
    case kLocPrintProcDir:
    case kLocPrintProcDirW40: PrintProcessorDirectory(out); break;
    case kLocColorDir: ColorDirectory(out); break;
    case kLocCurrentDir: CurrentDirectory(out); break;
    case kLocInfDir: InfDirectory(out); break;
    default: break;
    }
}
}  // namespace

void ShellFolderPath(int csidl, TextItem& out) {
    out.Clear();
    if (COSInfo().IsWin32s()) return;  // Win32s has no shell folders
    IMalloc* shellMalloc = nullptr;
    if (FAILED(SHGetMalloc(&shellMalloc)) || !shellMalloc) return;
    LPITEMIDLIST idList = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, csidl, &idList)) && idList) {
        char path[MAX_PATH] = "";
        if (SHGetPathFromIDListA(idList, path)) UseShellFolderPath(path, out);
        shellMalloc->Free(idList);
    }
    shellMalloc->Release();
}

bool FileSpec::ResolveLocation(int location) {
    Clear();
    TextItem text;
    LocationText(location, text);
    if (text.IsEmpty()) return true;
    if (location == kLocProgramFile) {
        SetPath(text.Text());
    } else if (location == kLocProgramDir) {
        SetPath(text.Text());
        fileName.Clear();
        extension.Clear();
    } else {
        // A directory that cannot take its closing backslash would be split as a file name.
        if (!AppendBackslash(text)) return true;
        SetPath(text.Text());
    }
    return true;
}

bool FileSpec::SearchFile(const char* searchPath) {
    char found[kPathSize] = "";
    char* filePart = nullptr;
    DWORD length = SearchPathA(searchPath, NameAndExtension(), nullptr, kPathSize, found, &filePart);
    if (!Fits(length)) return false;
    SetPath(found);
    return true;
}

bool FileSpec::Exists() {
    HANDLE file = CreateFileA(FullPath(), 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}
