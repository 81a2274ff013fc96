#include "WininitText.h"

#include "script/BoundedText.h"
#include "script/TextItem.h"

void WininitTail::Feed(const char* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        char c = data[i];
        bool lineBreak = c == '\r' || c == '\n';
        lineEnded_ = lineBreak;
        switch (state_) {
            case kLineStart:
                if (c == ' ' || c == '\t' || lineBreak) break;
                if (c == '[') {
                    state_ = kHeader;
                    nameLength_ = 0;
                    nameTooLong_ = false;
                } else {
                    state_ = kRestOfLine;
                }
                break;
            case kHeader:
                if (c == ']' || lineBreak) {
                    // A header without its "]" still starts a section as far as this file is
                    // concerned: it is not [rename], so a new [RENAME] header follows.
                    EndHeader(c == ']');
                    state_ = lineBreak ? kLineStart : kRestOfLine;
                } else if (nameLength_ + 1 < kNameCapacity) {
                    name_[nameLength_++] = c;
                } else {
                    nameTooLong_ = true;
                }
                break;
            case kRestOfLine:
                if (lineBreak) state_ = kLineStart;
                break;
        }
    }
}

void WininitTail::EndHeader(bool closed) {
    name_[nameLength_] = 0;
    inRename_ = closed && !nameTooLong_ && EqualsNoCase(name_, "rename");
}

int FormatWininitLine(char* line, size_t capacity, const char* path) {
    if (FormatText(line, capacity, "NUL=%s\r\n", path ? path : "")) return 1;
    if (capacity > 0) line[0] = 0;
    return 0;
}
