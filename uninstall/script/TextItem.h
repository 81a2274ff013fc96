#pragma once
// A name, path or script entry: at most 259 single-byte characters, always terminated.
// Longer input is cut at 259 characters; a missing text and an empty one are the same.
#include <cstddef>

// Case-insensitive comparison as Windows names compare: only A-Z fold to a-z, every other byte
// compares by its unsigned value, and a prefix sorts first. Null counts as empty.
int CompareNoCase(const char* a, const char* b);
// The same over at most n bytes.
int CompareNoCaseN(const char* a, const char* b, size_t n);
inline bool EqualsNoCase(const char* a, const char* b) { return CompareNoCase(a, b) == 0; }

class TextItem {
public:
    static const int kCapacity = 260;

    TextItem() { text_[0] = 0; }
    TextItem(const char* text) { Assign(text); }  // NOLINT: texts convert freely into items

    void Clear() { text_[0] = 0; }
    // Both return 0 when the text had to be cut to fit.
    int Assign(const char* text);
    int Append(const char* text);

    int Length() const;
    bool IsEmpty() const { return text_[0] == 0; }
    const char* Text() const { return text_; }
    // Writable storage of kCapacity bytes, for the in-place token functions.
    char* Buffer() { return text_; }

    bool EqualsNoCase(const char* other) const { return CompareNoCase(text_, other) == 0; }
    bool LessNoCase(const TextItem& other) const { return CompareNoCase(text_, other.text_) < 0; }

private:
    char text_[kCapacity];
};
