// The Win32s load line through the program remover. Input: the program name, a line feed, the line.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "system/LoadLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t lf = input.find('\n');
    std::string program = input.substr(0, lf).c_str();
    std::string line = lf == std::string::npos ? "" : input.substr(lf + 1).c_str();

    // An exact-size heap copy: the edit happens in place and must stay inside the line.
    std::unique_ptr<char[]> buffer(new char[line.size() + 1]);
    memcpy(buffer.get(), line.c_str(), line.size() + 1);
    int removed = RemoveLoadLineProgram(buffer.get(), program.c_str());

    // Only the first occurrence counts, and only as a whole word; it goes with one space after it.
    size_t at = program.empty() ? std::string::npos : line.find(program);
    size_t after = at == std::string::npos ? 0 : at + program.size();
    bool word = at != std::string::npos && (at == 0 || line[at - 1] == ' ') &&
                (after == line.size() || line[after] == ' ');
    std::string expected = line;
    if (word) expected = line.substr(0, at) + line.substr(after < line.size() ? after + 1 : after);
    if (removed != (word ? 1 : 0) || expected != buffer.get()) __builtin_trap();
    return 0;
}
