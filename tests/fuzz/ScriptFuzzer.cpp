// Script bytes through the reader, the profile reader and the database: loading, candidates, and a
// removal set for printers named from the script's own texts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "script/ScriptReader.h"
#include "script/UninstallDatabase.h"

namespace {
// Copies out through a heap buffer of exactly the capacity, so any write past it is caught.
void CopyOut(const ScriptReader& reader, const char* name, int capacity) {
    std::unique_ptr<char[]> buffer(new char[capacity > 0 ? capacity : 1]);
    int keys = reader.GetSectionKeys(name, buffer.get(), capacity);
    int lines = reader.GetSectionLines(name, buffer.get(), capacity);
    // Keys are never longer than whole lines.
    if (std::abs(keys) > std::abs(lines)) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    ScriptReader reader;
    if (!reader.LoadFromMemory(text, size)) return 0;

    for (int i = 0; i < reader.SectionCount() && i < 16; ++i) {
        const char* name = reader.Section(i).name.Text();
        static const int capacities[] = {0, 1, 2, 7, 260, 4096};
        for (int capacity : capacities) CopyOut(reader, name, capacity);
        for (const ScriptEntry& entry : reader.Section(i).entries) MakeProfile(entry.key.Text(), reader);
    }

    UninstallDatabase db(1 + static_cast<int>(size % 3));
    db.LoadScriptFromReader(reader, "C:\\WINDOWS\\Qunz__01.unm");
    db.LoadScriptText(text, size, "C:\\OTHER\\QUNZ__01.UNM");
    db.BuildCandidates(size % 2 == 0);

    // Printers named after the profiles and the entries, half of them kept, some standing for others.
    int n = 0;
    for (const UninstallProfile& profile : db.Profiles()) {
        InstalledPrinter printer;
        printer.name.Assign(profile.sectionPrefix.Text());
        printer.driver.Assign(profile.name.Text());
        if (!profile.Files.IsEmpty()) printer.vizoredName.Assign(profile.Files.At(0).Text());
        printer.excluded = n++ % 2;
        db.Printers().push_back(printer);
    }
    db.ComputeRemovalSet();
    for (InstalledPrinter& printer : db.Printers()) printer.excluded = 0;
    db.ComputeRemovalSet();
    if (db.RemainingPrinterCount() != 0) __builtin_trap();
    UninstallDatabase::AddRegistryEntry(db.Removal(), static_cast<int>(size % 5), text[0] ? "K" : "", "", 1);
    return 0;
}
