// The registry step: values, keys and trees, in descending order. The same on every family: Windows
// 9x's RegDeleteKeyA would take a key's subkeys with it, so a key with subkeys is never handed to it.
#include <doctest/doctest.h>

#include "SystemTestSupport.h"
#include "system/RegistryEntries.h"
#include "system/RegistryTree.h"

namespace {
const std::string kBase = "Software\\QTestReg\\";
const char kProgramGroups[] = "SOFTWARE\\TOVARI QUELLAN\\OEM01\\ProgramGroups";

void Key(const std::string& path) {
    SetStringValue(HKEY_CURRENT_USER, kBase + path, NULL, NULL);
}

void SetUpKeys() {
    SetStringValue(HKEY_CURRENT_USER, kBase + "Tree", "Top", "1");
    Key("Tree\\A\\B\\C");
    SetStringValue(HKEY_CURRENT_USER, kBase + "Tree\\A\\D", "Deep", "1");
    Key("Tree\\E");
    Key("Tree\\F");
    Key("Parent\\Child");
    SetStringValue(HKEY_CURRENT_USER, kBase + "Leaf", "Data", "1");
    SetStringValue(HKEY_CURRENT_USER, kBase + "Values", "Drop", "1");
    SetStringValue(HKEY_CURRENT_USER, kBase + "Values", "Keep", "1");
    Key("Order\\Sub");
    Key("FullRoot");
    Key("A,B\\Inside");
    // Split at its comma, the entry would name the value "B" of key "A".
    SetStringValue(HKEY_CURRENT_USER, kBase + "A", "B", "not the entry's value");
    Key("Canary");
    SetStringValue(HKEY_LOCAL_MACHINE, kProgramGroups, "Quellan Printers", "1");
}

void SetUpEntries(TextList& list) {
    const char* entries[] = {
        "HKCU,\"Software\\QTestReg\\Tree\",\"\",1",
        "HKCU,\"Software\\QTestReg\\Parent\",\"\",0",
        "HKCU,\"Software\\QTestReg\\Leaf\",\"\"",
        "hkcu,\"Software\\QTestReg\\Values\",\"Drop\",1",
        "HKCU,\"Software\\QTestReg\\Order\",\"\",0",
        "HKCU,\"Software\\QTestReg\\Order\\Sub\",\"\",0",
        "HKEY_CURRENT_USER,\"Software\\QTestReg\\FullRoot\",\"\",1",
        "HKCU,\"Software\\QTestReg\\A,B\",\"\",1",
        "HKCU,\"Software\\QTestReg\\Missing\",\"\",1",
        "HKCU,\"\",\"\",1",
        "HKCU,\"Software\\QTestReg\\Values\"",
    };
    for (const char* entry : entries) list.Append(entry);
}

const char kFullRootKept[] =
    "kept registry-key HKEY_CURRENT_USER,\"Software\\QTestReg\\FullRoot\",\"\",1 | root not recognised";
const char kEmptySubkeyKept[] = "kept registry-key HKCU,\"\",\"\",1 | no subkey";

bool Has(const std::string& path) {
    return KeyExists(HKEY_CURRENT_USER, kBase + path);
}
}  // namespace

TEST_CASE("registry entries: values, keys and trees, subkeys before their parents") {
    SetUpKeys();
    StepFixture f;
    SetUpEntries(f.Removal().RegistryKeys);

    const std::vector<std::string> expected = {
        "removed registry-key HKLM\\SOFTWARE\\TOVARI QUELLAN\\OEM01\\ProgramGroups",
        kFullRootKept,
        "removed registry-value Drop",
        "kept registry-key HKCU,\"Software\\QTestReg\\Values\" | not a root,key,value entry",
        "removed registry-tree HKCU\\Software\\QTestReg\\Tree",
        "kept registry-key HKCU\\Software\\QTestReg\\Parent | has subkeys",
        "removed registry-key HKCU\\Software\\QTestReg\\Order\\Sub",
        "removed registry-key HKCU\\Software\\QTestReg\\Order",
        "not present registry-tree HKCU\\Software\\QTestReg\\Missing",
        "removed registry-key HKCU\\Software\\QTestReg\\Leaf",
        "removed registry-tree HKCU\\Software\\QTestReg\\A,B",
        kEmptySubkeyKept,
    };
    SUBCASE("removal") {
        RemoveRegistryEntriesStep(f.ctx);
        CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProgramGroups));
        CHECK_FALSE(Has("Tree"));
        CHECK(Has("Parent\\Child"));  // a key with subkeys stays
        CHECK_FALSE(Has("Leaf"));
        CHECK_FALSE(ValueExists(HKEY_CURRENT_USER, kBase + "Values", "Drop"));
        CHECK(ValueExists(HKEY_CURRENT_USER, kBase + "Values", "Keep"));
        CHECK_FALSE(Has("Order"));  // its subkey went first
        CHECK(Has("FullRoot"));
        CHECK_FALSE(Has("A,B"));
        CHECK(ValueExists(HKEY_CURRENT_USER, kBase + "A", "B"));
        CHECK(Has("Canary"));
        CHECK(f.log.lines == expected);
    }
    SUBCASE("dry run: the same judgement, nothing changed") {
        f.ctx.dryRun = true;
        RemoveRegistryEntriesStep(f.ctx);
        CHECK(KeyExists(HKEY_LOCAL_MACHINE, kProgramGroups));
        CHECK(Has("Tree\\A\\D"));
        CHECK(Has("Order\\Sub"));
        CHECK(Has("Leaf"));
        CHECK(ValueExists(HKEY_CURRENT_USER, kBase + "Values", "Drop"));
        CHECK(f.log.lines == DryRunOf(expected));
    }
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\QTestReg");
}
