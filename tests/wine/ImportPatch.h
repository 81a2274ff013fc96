#pragma once
// Points this test program's own import of a Windows function at a stand-in for the life of the
// object, so that a test can see, or shape as another Windows version would, what the code under
// test asks of Windows. Calls made inside Windows' libraries themselves are not affected.
#include <windows.h>

#include <cstring>

class ImportPatch {
public:
    ImportPatch(const char* dll, const char* function, const void* standIn) {
        BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
            base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        const IMAGE_IMPORT_DESCRIPTOR* d =
            reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
        for (; d->Name != 0 && !slot; ++d) {
            if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
            const IMAGE_THUNK_DATA* name =
                reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
            IMAGE_THUNK_DATA* address = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
            for (; name->u1.AddressOfData != 0; ++name, ++address) {
                if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
                const IMAGE_IMPORT_BY_NAME* byName =
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
                slot = reinterpret_cast<ULONG_PTR*>(&address->u1.Function);
                original = *slot;
                Write(reinterpret_cast<ULONG_PTR>(standIn));
                break;
            }
        }
    }
    ~ImportPatch() {
        if (slot) Write(original);
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    bool Applied() const { return slot != nullptr; }

private:
    void Write(ULONG_PTR value) {
        DWORD protection = 0;
        VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
        *slot = value;
        VirtualProtect(slot, sizeof *slot, protection, &protection);
    }

    ULONG_PTR* slot = nullptr;
    ULONG_PTR original = 0;
};
