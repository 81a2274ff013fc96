#include "HookCalls.h"

#include <cstdint>

#include "script/FileSpec.h"
#include "script/Locations.h"
#include "script/UninstallDatabase.h"
#include "shell/DllSearchPath.h"
#include "system/EntryFields.h"

namespace {
const char kStep[] = "hooks";
const char kKind[] = "hook";
const DWORD kAfterHookWait = 1000;

// The hook DLLs come with the driver packages, which do not agree on a calling convention. On x86
// the stack pointer is kept in a register that both conventions preserve and put back after the
// call, so it does not matter whether the export removes its four arguments or leaves them.
void CallHookExport(FARPROC function, HWND window, HINSTANCE module, const char* programDirectory) {
#if defined(__i386__)
    const uintptr_t arguments[4] = {reinterpret_cast<uintptr_t>(window), reinterpret_cast<uintptr_t>(module),
                                    reinterpret_cast<uintptr_t>(programDirectory), 0};
    __asm__ __volatile__(
        "movl %%esp, %%esi\n\t"
        "pushl 12(%1)\n\t"
        "pushl 8(%1)\n\t"
        "pushl 4(%1)\n\t"
        "pushl (%1)\n\t"
        "call *%0\n\t"
        "movl %%esi, %%esp"
        :
        : "r"(function), "r"(arguments)
        : "eax", "ecx", "edx", "esi", "memory", "cc");
#else
    typedef void(WINAPI * HookExport)(HWND, HINSTANCE, const char*, uintptr_t);
    reinterpret_cast<HookExport>(reinterpret_cast<void*>(function))(window, module, programDirectory, 0);
#endif
}

bool IsFile(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// directory + name; false when the directory is unknown (the name alone would be looked up
// relative to the current directory) or the path does not fit (a cut path names another file).
bool JoinPath(const char* directory, const char* name, TextItem& path) {
    return directory[0] && path.Assign(directory) && path.Append(name);
}

void CallHook(RemovalContext& ctx, const TextItem& dll, const TextItem& exportName, const char* dllDirectory,
              const char* programDirectory) {
    SetCurrentDirectoryA(dllDirectory);
    // The current directory is no longer searched for DLLs; the hook's own directory is, while it is
    // loaded, so that DLLs it loads from beside itself are still found.
    SetDllSearchDirectory(dllDirectory);
    HMODULE library = LoadLibraryA(dll.Text());
    if (!library) {
        ctx.Record(kStep, kKind, dll.Text(), kOutcomeFailed, exportName.Text(), GetLastError());
        SetDllSearchDirectory("");
        return;
    }
    FARPROC function = GetProcAddress(library, exportName.Text());
    if (function) {
        CallHookExport(function, ctx.window, ctx.module, programDirectory);
        ctx.Record(kStep, kKind, dll.Text(), kOutcomeDone, exportName.Text());
    } else {
        ctx.Record(kStep, kKind, dll.Text(), kOutcomeFailed, exportName.Text(), GetLastError());
    }
    // The hook may have started work of its own that needs its DLL a little longer.
    Sleep(kAfterHookWait);
    FreeLibrary(library);
    SetDllSearchDirectory("");
}
}  // namespace

void RunHooksStep(RemovalContext& ctx) {
    const TextList& hooks = ctx.database.Removal().Hooks;
    if (hooks.IsEmpty()) return;
    FileSpec location;
    location.ResolveLocation(kLocPrintDriverDir);
    const TextItem driverDirectory(location.DirectoryPath());
    location.ResolveLocation(kLocProgramDir);
    const TextItem programDirectory(location.DirectoryPath());

    for (const TextItem& entry : hooks) {
        HookEntryFields fields;
        if (!SplitHookEntry(entry.Text(), fields)) {
            ctx.Record(kStep, kKind, entry.Text(), kOutcomeKept, "not a DLL,export entry");
            continue;
        }
        TextItem inDriverDirectory, inProgramDirectory;
        bool driverCopy = JoinPath(driverDirectory.Text(), fields.fileName.Text(), inDriverDirectory);
        bool programCopy = JoinPath(programDirectory.Text(), fields.fileName.Text(), inProgramDirectory);
        const TextItem* dll = nullptr;
        const char* dllDirectory = nullptr;
        if (driverCopy && IsFile(inDriverDirectory.Text())) {
            dll = &inDriverDirectory;
            dllDirectory = driverDirectory.Text();
        } else if (programCopy && IsFile(inProgramDirectory.Text())) {
            dll = &inProgramDirectory;
            dllDirectory = programDirectory.Text();
        }
        if (!dll)
            ctx.Record(kStep, kKind, fields.fileName.Text(), kOutcomeNotPresent, fields.exportName.Text());
        else if (ctx.dryRun)
            ctx.Record(kStep, kKind, dll->Text(), kOutcomePresent, fields.exportName.Text());
        else
            CallHook(ctx, *dll, fields.exportName, dllDirectory, programDirectory.Text());
        if (!ctx.dryRun) SetCurrentDirectoryA(programDirectory.Text());
    }
}
