// Command lines through the switch parser and every look-up, with exact-size heap buffers.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "shell/CmdSwitches.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string line(reinterpret_cast<const char*>(data), size);
    CCmdSwitches switches;
    switches.Parse(line.c_str());

    for (int i = 0; i < switches.Count(); ++i) {
        const TextList& entry = switches.Entry(i);
        for (const TextItem& item : entry)
            if (item.Length() > 259) __builtin_trap();
        const char* name = entry.At(0).Text();
        int values = switches.Find(name);
        if (*name && values < 0) __builtin_trap();

        int needed = 0;
        switches.GetValues(name, nullptr, &needed);
        static const int extra[] = {0, 1, 256};
        for (int more : extra) {
            int capacity = needed + more;
            std::unique_ptr<char[]> buffer(new char[capacity > 0 ? capacity : 1]);
            int size = capacity;
            int copied = switches.GetValues(name, buffer.get(), &size);
            if (*name && size != needed) __builtin_trap();
            if (copied && needed >= capacity) __builtin_trap();
        }
    }
    return 0;
}
