#include "TextItem.h"

#include <cstring>

#include "BoundedText.h"

namespace {
inline unsigned char Fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }
}  // namespace

int CompareNoCaseN(const char* a, const char* b, size_t n) {
    if (!a) a = "";
    if (!b) b = "";
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = Fold(static_cast<unsigned char>(a[i]));
        unsigned char cb = Fold(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
    return 0;
}

int CompareNoCase(const char* a, const char* b) { return CompareNoCaseN(a, b, static_cast<size_t>(-1)); }

int TextItem::Assign(const char* text) { return CopyText(text_, kCapacity, text); }

int TextItem::Append(const char* text) { return AppendText(text_, kCapacity, text); }

int TextItem::Length() const { return static_cast<int>(strlen(text_)); }
