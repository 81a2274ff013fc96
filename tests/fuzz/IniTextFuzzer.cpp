// INI and WININIT.INI text through the entry finder, the line remover and the WININIT.INI reader.
// Input: the section name, a line feed, the key, a line feed, then the file's text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "script/TextItem.h"
#include "system/IniText.h"
#include "system/WininitText.h"

namespace {
void Require(bool condition) {
    if (!condition) __builtin_trap();
}

std::string NextLine(const uint8_t*& data, size_t& size) {
    const void* lf = memchr(data, '\n', size);
    size_t length = lf ? static_cast<size_t>(static_cast<const uint8_t*>(lf) - data) : size;
    std::string line(reinterpret_cast<const char*>(data), length);
    size_t taken = lf ? length + 1 : length;
    data += taken;
    size -= taken;
    return line;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

size_t FirstNonBlank(const std::string& text, size_t pos, size_t end) {
    while (pos < end && IsBlank(text[pos])) ++pos;
    return pos;
}

// The header that governs the line starting at lineStart: the nearest line above it whose first
// non-blank character is "[", read backwards from there.
bool UnderHeader(const std::string& text, size_t lineStart, const std::string& header) {
    while (lineStart > 0) {
        size_t start = lineStart >= 2 ? text.rfind('\n', lineStart - 2) : std::string::npos;
        start = start == std::string::npos ? 0 : start + 1;
        size_t pos = FirstNonBlank(text, start, lineStart);
        if (pos < lineStart && text[pos] == '[')
            return text.size() - pos >= header.size() &&
                   CompareNoCaseN(text.data() + pos, header.c_str(), header.size()) == 0;
        lineStart = start;
    }
    return false;
}

void CheckEntry(const std::string& text, const std::string& section, const std::string& key) {
    // Exact-size heap copies: a read or write past the text is caught.
    std::unique_ptr<char[]> buffer(new char[text.size() + 1]);
    memcpy(buffer.get(), text.data(), text.size());
    IniLine line;
    bool found = FindIniEntry(buffer.get(), text.size(), section.c_str(), key.c_str(), &line);
    size_t length = text.size();
    int removed = RemoveIniEntryLine(buffer.get(), &length, section.c_str(), key.c_str());
    Require(removed == (found ? 1 : 0));
    if (!found) {
        Require(length == text.size() && memcmp(buffer.get(), text.data(), length) == 0);
        return;
    }
    Require(line.start < line.end && line.end <= text.size());
    Require(line.start == 0 || text[line.start - 1] == '\n');
    Require(line.end == text.size() || text[line.end - 1] == '\n');
    size_t at = FirstNonBlank(text, line.start, line.end);
    size_t keyLength = strlen(key.c_str());
    Require(line.end - at >= keyLength && CompareNoCaseN(text.data() + at, key.c_str(), keyLength) == 0);
    size_t after = at + keyLength;
    Require(after == line.end || strchr("= \t\r\n", text[after]));
    Require(UnderHeader(text, line.start, "[" + std::string(section.c_str()) + "]"));
    // Everything but that line stays byte for byte.
    std::string expected = text.substr(0, line.start) + text.substr(line.end);
    Require(length == expected.size() && memcmp(buffer.get(), expected.data(), length) == 0);
}

void CheckWininit(const std::string& text, size_t piece) {
    WininitTail whole;
    whole.Feed(text.data(), text.size());
    WininitTail pieces;
    for (size_t at = 0; at < text.size(); at += piece)
        pieces.Feed(text.data() + at, std::min(piece, text.size() - at));
    Require(whole.InRenameSection() == pieces.InRenameSection());
    Require(whole.LineEnded() == pieces.LineEnded());
    Require(whole.LineEnded() == (text.empty() || text.back() == '\r' || text.back() == '\n'));

    // The last header line decides; a header name with a NUL byte is left undecided.
    bool inRename = false;
    bool decided = true;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        size_t pos = FirstNonBlank(text, start, end);
        if (pos < end && text[pos] == '[') {
            size_t close = text.find(']', pos);
            std::string name = text.substr(pos + 1, (close < end ? close : end) - pos - 1);
            decided = name.find('\0') == std::string::npos;
            inRename = close < end && EqualsNoCase(name.c_str(), "rename");
        }
        start = end + 1;
    }
    if (decided) Require(whole.InRenameSection() == inRename);
}

void CheckWininitLine(const std::string& path, size_t capacity) {
    std::unique_ptr<char[]> line(new char[capacity > 0 ? capacity : 1]);
    int fits = FormatWininitLine(line.get(), capacity, path.c_str());
    std::string expected = "NUL=" + std::string(path.c_str()) + "\r\n";
    if (fits)
        Require(expected.size() < capacity && expected == line.get());
    else
        Require(expected.size() >= capacity && (capacity == 0 || line[0] == 0));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string section = NextLine(data, size);
    std::string key = NextLine(data, size);
    std::string text(reinterpret_cast<const char*>(data), size);

    CheckEntry(text, section, key);
    CheckWininit(text, 1 + section.size() % 17);
    std::string path = text.substr(0, text.find('\n'));
    CheckWininitLine(path, key.size() % 300);
    CheckWininitLine(path, 260);
    return 0;
}
