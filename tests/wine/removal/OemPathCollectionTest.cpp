// The OEM path list from the registry of a throwaway prefix, with values that do not fit a path.
#include <doctest/doctest.h>

#include <algorithm>

#include "RemovalTestSupport.h"
#include "spooler/OemPathCollection.h"

namespace {
const char kKey[] = "SOFTWARE\\TOVARI QUELLAN\\OEM01\\OEMPaths";

void SetValue(HKEY key, const std::string& name, const std::string& data) {
    REQUIRE(RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size())) == ERROR_SUCCESS);
}

std::vector<std::string> Texts(const TextList& list) {
    std::vector<std::string> texts;
    for (const TextItem& item : list) texts.push_back(item.Text());
    return texts;
}
}  // namespace

TEST_CASE("the OEM directories are added whole; a value too long for a path is left out") {
    HKEY key = NULL;
    REQUIRE(RegCreateKeyA(HKEY_LOCAL_MACHINE, kKey, &key) == ERROR_SUCCESS);
    const std::string longest = "C:\\" + std::string(256, 'd');  // 259 characters: still a path
    // Wine enumerates values by name; these names keep the order of the cases.
    SetValue(key, "1 plain", std::string("C:\\QUELLAN\\OEM01") + '\0');
    SetValue(key, "2 padded", "C:\\QUELLAN\\PADDED" + std::string(300, '\0'));  // read whole, then used
    SetValue(key, "3 too long", std::string(300, 'x') + '\0');
    SetValue(key, "35" + std::string(300, 'n'),
             std::string("C:\\LONG\\NAME") + '\0');  // the name does not fit
    SetValue(key, "4 empty", std::string(1, '\0'));
    SetValue(key, "5 same", std::string("c:\\quellan\\oem01") + '\0');
    SetValue(key, "6 unterminated", "C:\\QUELLAN\\RAW");
    SetValue(key, "7 longest", longest + '\0');
    // Bytes "C:\" and a zero: as a text, the root of drive C.
    const DWORD number = 0x005C3A43;
    REQUIRE(RegSetValueExA(key, "8 number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                           sizeof number) == ERROR_SUCCESS);
    RegCloseKey(key);

    Removal removal;
    removal.db.Removal().OemPaths.Append("D:\\FROM\\SCRIPT");
    CollectOemPathsStep(removal.ctx);

    // The empty one goes in as it is: the files step refuses to search an empty directory.
    std::vector<std::string> expected = {
        "", "C:\\QUELLAN\\OEM01", "C:\\QUELLAN\\PADDED", "C:\\QUELLAN\\RAW", longest, "D:\\FROM\\SCRIPT"};
    std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
        return CompareNoCase(a.c_str(), b.c_str()) < 0;
    });
    CHECK(Texts(removal.db.Removal().OemPaths) == expected);
    CHECK(removal.log.Lines() == std::vector<std::string>{
                                     "C:\\QUELLAN\\OEM01 done searched for files",
                                     "C:\\QUELLAN\\PADDED done searched for files",
                                     "3 too long kept too long for a path",
                                     "value 3 failed not readable",
                                     " done searched for files",
                                     "c:\\quellan\\oem01 done searched for files",
                                     "C:\\QUELLAN\\RAW done searched for files",
                                     longest + " done searched for files",
                                     "8 number kept not a text value",
                                 });
    CHECK(removal.log.actions[3].error == ERROR_MORE_DATA);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
}

TEST_CASE("without the key the OEM path list only gets sorted") {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
    Removal removal;
    for (const char* path : {"D:\\B", "d:\\a", "D:\\B"}) removal.db.Removal().OemPaths.Append(path);
    CollectOemPathsStep(removal.ctx);
    CHECK(Texts(removal.db.Removal().OemPaths) == std::vector<std::string>{"d:\\a", "D:\\B"});
    CHECK(removal.log.actions.empty());
}
