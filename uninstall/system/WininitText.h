#pragma once
// The text of WININIT.INI, which Windows 95/98/Me carries out before Windows itself starts: each
// "NUL=path" line of its [rename] section deletes that file. Lines are only ever appended, so what
// matters of an existing file is where an appended line would land.
#include <cstddef>

class WininitTail {
public:
    // Takes the next piece of the existing text, in order.
    void Feed(const char* data, size_t size);
    // The last section header read is [rename] (any letter case), so an appended line belongs to it.
    // A header still open at the end of the text is an unclosed one, and so another section.
    bool InRenameSection() const { return inRename_ && state_ != kHeader; }
    // The text is empty or its last line is ended; otherwise an appended line would join that line.
    bool LineEnded() const { return lineEnded_; }

private:
    enum State { kLineStart, kHeader, kRestOfLine };
    static const size_t kNameCapacity = 8;  // enough to tell "rename" from every other name

    void EndHeader(bool closed);

    State state_ = kLineStart;
    char name_[kNameCapacity] = {};
    size_t nameLength_ = 0;
    bool nameTooLong_ = false;
    bool inRename_ = false;
    bool lineEnded_ = true;
};

// "NUL=" path CR LF into line; 0 (and an empty line) when it does not fit capacity, since a cut path
// would name another file. With the 260-byte line buffer, paths of up to 253 characters fit.
int FormatWininitLine(char* line, size_t capacity, const char* path);
