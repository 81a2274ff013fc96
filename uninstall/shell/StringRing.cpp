#include "StringRing.h"

#include "script/BoundedText.h"
#include "script/Tokens.h"

CStringRing::CStringRing(HINSTANCE instance) : hInstance(instance), current(0) {
    for (int i = 0; i < kSlotCount; ++i) slots[i][0] = 0;
}

char* CStringRing::NextSlot() {
    current = (current + 1) % kSlotCount;
    slots[current][0] = 0;
    return slots[current];
}

char* CStringRing::LoadSlot(UINT id) {
    char* slot = NextSlot();
    if (LoadStringA(hInstance, id, slot, kSlotSize) <= 0) slot[0] = 0;
    return slot;
}

const char* CStringRing::LoadText(UINT id) { return LoadSlot(id); }

// Turns every two-character sequence backslash, n into a newline, in place.
static void ExpandNewlines(char* text) {
    char* out = text;
    for (const char* in = text; *in; ++in) {
        if (in[0] == '\\' && in[1] == 'n') {
            *out++ = '\n';
            ++in;
        } else {
            *out++ = *in;
        }
    }
    *out = 0;
}

static const char* FileNamePart(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    }
    return name;
}

const char* CStringRing::ReadIndirection(const char* file, const char* section, const char* key) {
    // The program path with each of its drive, directory, name and extension replaced by the file's
    // own parts (empty ones included) is the file as written: a bare name has no directory, so the
    // profile functions look for it in the Windows directory.
    char path[MAX_PATH];
    CopyText(path, sizeof path, file);

    char* slot = NextSlot();
    GetPrivateProfileStringA(section, key, "", slot, kSlotSize, path);
    if (slot[0] == 0) {
        char found[MAX_PATH];
        char* filePart = NULL;
        DWORD length = SearchPathA(NULL, FileNamePart(file), NULL, sizeof found, found, &filePart);
        // A result as long as the buffer means it did not fit; such a path is not used.
        if (length > 0 && length < sizeof found) {
            GetPrivateProfileStringA(section, key, "", slot, kSlotSize, found);
        }
    }
    ExpandNewlines(slot);
    return slot;
}

const char* CStringRing::GetText(UINT id) {
    char* text = LoadSlot(id);
    if (text[0] != '@') return text;
    // The fields are cut in place, so an incomplete entry comes back with its "@" characters turned
    // into string ends: the text before the first "@", which is empty.
    char* file = NextToken(text, '@');
    char* section = NextToken(file, '@');
    char* key = NextToken(section, '@');
    if (!key) return text;
    return ReadIndirection(file, section, key);
}

BOOL CStringRing::SetWindowTextId(HWND window, UINT id) {
    const char* text = GetText(id);
    if (text[0] == 0) return 0;
    return SetWindowTextA(window, text);
}

BOOL CStringRing::SetDlgItemTextId(HWND dialog, int controlId, UINT id) {
    return SetWindowTextId(GetDlgItem(dialog, controlId), id);
}
