#include <doctest/doctest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "system/FileSweep.h"
#include "system/OemDirectories.h"
#include "system/WininitText.h"

namespace {
std::string Key(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

// A file system in memory: "D path" a directory, "F path" a file, "L path" a file in use.
class FakeTree : public FileSweepOps {
public:
    explicit FakeTree(const std::vector<std::string>& lines) {
        for (const std::string& line : lines) Add(line[0], line.substr(2));
    }

    bool ListDirectory(const char* directory, std::vector<DirectoryEntry>& entries) override {
        ++listings;
        entries.clear();
        std::string dir = Key(directory);
        auto it = nodes.find(dir);
        if (it == nodes.end() || it->second.kind != 'D') return false;
        for (const auto& node : nodes)
            if (node.first.size() > dir.size() + 1 &&
                node.first.compare(0, dir.size() + 1, dir + "\\") == 0 &&
                node.first.find('\\', dir.size() + 1) == std::string::npos)
                entries.push_back(
                    DirectoryEntry{TextItem(node.second.name.c_str()), node.second.kind == 'D'});
        return true;
    }
    int DeleteOrDefer(const char* path) override {
        auto it = nodes.find(Key(path));
        if (it == nodes.end() || it->second.kind == 'D') return 1;
        if (it->second.kind == 'L') {
            deferred.push_back(Key(path));
            return 0;
        }
        nodes.erase(it);
        return 1;
    }
    void RemoveEmptyDirectory(const char* directory) override {
        std::string dir = Key(directory);
        auto it = nodes.find(dir);
        if (it == nodes.end() || it->second.kind != 'D') return;
        for (const auto& node : nodes)
            if (node.first.compare(0, dir.size() + 1, dir + "\\") == 0) return;
        nodes.erase(it);
    }
    void RefuseLongPath(const char*, const char* name) override { refused.push_back(name); }
    void KeepRestartHelper(const char* path) override {
        if (nodes.count(Key(path))) kept.push_back(Key(path));
    }

    // What is left, in one comparable text.
    std::string State() const {
        std::string text;
        for (const auto& node : nodes) text += node.second.kind + std::string(" ") + node.first + "\n";
        std::vector<std::string> sorted = deferred;
        std::sort(sorted.begin(), sorted.end());
        for (const std::string& d : sorted) text += "deferred " + d + "\n";
        return text;
    }
    bool Has(const std::string& path) const { return nodes.count(Key(path)) != 0; }

    struct Node {
        char kind;
        std::string name;
    };
    std::map<std::string, Node> nodes;
    std::vector<std::string> deferred;
    std::vector<std::string> kept;
    std::vector<std::string> refused;
    long listings = 0;

private:
    void Add(char kind, const std::string& path) {
        std::string key = Key(path);
        if (nodes.count(key) && nodes[key].kind == 'D') return;  // a directory named like a file stays one
        size_t slash = path.find_last_of('\\');
        nodes[key] = Node{kind, slash == std::string::npos ? path : path.substr(slash + 1)};
        size_t up = key.find_last_of('\\');
        if (up != std::string::npos && up > 2) Add('D', path.substr(0, path.find_last_of('\\')));
    }
};

FileSearchPlaces Places(std::vector<const char*> directories, std::vector<const char*> trees,
                        std::vector<const char*> oem) {
    FileSearchPlaces places;
    for (const char* d : directories) places.directories.Append(d);
    for (const char* t : trees) places.trees.Append(t);
    for (const char* o : oem) places.oemDirectories.Append(o);
    OrderInnerFirst(places.oemDirectories);
    return places;
}

TextList Names(std::vector<const char*> entries) {
    TextList files, names;
    for (const char* e : entries) files.Append(e);
    FileNamesOf(files, names);
    return names;
}
}  // namespace

TEST_CASE("the files step finds a name where each kind of search place reaches") {
    // Search directory C:\W, search tree C:\T (two levels), OEM directory C:\O (three levels).
    const std::vector<std::string> machine = {
        "F C:\\W\\Q.DLL",          "F C:\\W\\sub\\Q.DLL",
        "F C:\\T\\Q.DLL",          "F C:\\T\\1\\2\\Q.DLL",
        "F C:\\T\\1\\2\\3\\Q.DLL", "F C:\\T\\.hide\\Q.DLL",
        "F C:\\O\\1\\2\\3\\Q.DLL", "F C:\\O\\1\\2\\3\\4\\Q.DLL",
        "F C:\\O\\.git\\Q.DLL",    "F C:\\O\\keep\\OTHER.TXT",
        "D C:\\O\\empty",          "D C:\\T\\Q.DLL.d",
        "D C:\\T\\x\\q.dll",       "F C:\\T\\x\\q.dll\\Q.DLL",
    };
    struct Row {
        const char* path;
        bool stays;
    };
    const Row rows[] = {
        {"C:\\W\\Q.DLL", false},
        {"C:\\W\\sub\\Q.DLL", true},  // directories are not walked
        {"C:\\T\\Q.DLL", false},
        {"C:\\T\\1\\2\\Q.DLL", false},
        {"C:\\T\\1\\2\\3\\Q.DLL", true},   // three levels below a tree
        {"C:\\T\\.hide\\Q.DLL", true},     // dot-directories are never entered
        {"C:\\O\\1\\2\\3\\Q.DLL", false},  // three levels below an OEM directory
        {"C:\\O\\1\\2\\3\\4\\Q.DLL", true},
        {"C:\\O\\.git\\Q.DLL", true},
        {"C:\\O\\empty", false},  // emptied folders under an OEM directory go
        {"C:\\O\\keep", true},
        {"C:\\T\\1", true},         // trees keep their folders
        {"C:\\T\\x\\q.dll", true},  // a directory named like the file is searched, not deleted
        {"C:\\T\\x\\q.dll\\Q.DLL", false},
    };
    FileSearchPlaces places = Places({"C:\\W\\"}, {"C:\\T\\"}, {"C:\\O\\"});
    for (int onePass = 0; onePass < 2; ++onePass) {
        FakeTree tree(machine);
        TextList names = Names({"Q.DLL=1", "q.dll"});
        REQUIRE(names.Count() == 1);
        int deferred = onePass ? RemoveFilesInOnePass(tree, places, names, FilesStepRules())
                               : RemoveFilesOneAtATime(tree, places, names, FilesStepRules());
        CHECK(deferred == 0);
        CHECK(tree.deferred.empty());
        for (const Row& row : rows) {
            CAPTURE(onePass);
            CAPTURE(row.path);
            CHECK(tree.Has(row.path) == row.stays);
        }
    }
}

TEST_CASE("a Files name that no file can carry is refused, a directory part is not looked at") {
    struct Row {
        const char* entry;
        const char* name;  // null: refused
    };
    const Row rows[] = {
        {"QLN.DLL=1", "QLN.DLL"}, {"C:\\OEM\\QLN.DLL", "C:\\OEM\\QLN.DLL"},
        {"OEM*.INF", nullptr},    {"A|B.DLL", nullptr},
        {"QLN.DLL:x", nullptr},   {"QLN\tOLD.DLL", nullptr},
    };
    for (const Row& row : rows) {
        CAPTURE(row.entry);
        TextList files, names, refused;
        files.Append(row.entry);
        FileNamesOf(files, names, &refused);
        CHECK(names.Count() == (row.name ? 1 : 0));
        CHECK(refused.Count() == (row.name ? 0 : 1));
        if (row.name) CHECK(std::string(names.At(0).Text()) == row.name);
    }
}

TEST_CASE("the files of a component the spooler keeps leave the Files list, whatever their spelling") {
    TextList files, kept;
    for (const char* entry :
         {"OTHER.DLL", "QLNLSR.DLL=1", "C:\\OEM\\qlnlsrui.dll", "QLNLSR.HLP", "QLNMON.DLL"})
        files.Append(entry);
    for (const char* path :
         {"C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\QLNLSR.DLL", "QLNLSRUI.DLL", "qlnmon.dll", ""})
        kept.Append(path);
    KeepFiles(files, kept);
    REQUIRE(files.Count() == 2);
    CHECK(std::string(files.At(0).Text()) == "OTHER.DLL");
    CHECK(std::string(files.At(1).Text()) == "QLNLSR.HLP");
}

TEST_CASE("the restart helper goes only when nothing waits for a restart") {
    struct Row {
        bool allowed;
        bool alreadyNeeded;
        bool otherInUse;
        bool helperGoes;
    };
    const Row rows[] = {
        {true, false, false, true},
        {true, false, true, false},    // a file of the list was deferred
        {true, true, false, false},    // the services step asked for a restart (Windows 9x)
        {false, false, false, false},  // a printer of the maker stays, or Win32s
    };
    for (const Row& row : rows) {
        for (int onePass = 0; onePass < 2; ++onePass) {
            FakeTree tree({"F C:\\W\\ZRESTART.EXE", "F C:\\O\\1\\zrestart.exe", "F C:\\T\\ZRESTART.EXE",
                           row.otherInUse ? "L C:\\W\\A.DLL" : "F C:\\W\\A.DLL"});
            FileSearchPlaces places = Places({"C:\\W\\"}, {"C:\\T\\"}, {"C:\\O\\"});
            FilesStepRules rules;
            rules.restartHelperAllowed = row.allowed;
            rules.rebootAlreadyNeeded = row.alreadyNeeded;
            TextList names = Names({"A.DLL"});
            int deferred = onePass ? RemoveFilesInOnePass(tree, places, names, rules)
                                   : RemoveFilesOneAtATime(tree, places, names, rules);
            CAPTURE(onePass);
            CHECK(deferred == (row.otherInUse ? 1 : 0));
            CHECK(tree.Has("C:\\W\\ZRESTART.EXE") == !row.helperGoes);
            CHECK(tree.Has("C:\\T\\ZRESTART.EXE") == !row.helperGoes);
            // Under an OEM directory, the folder the helper leaves empty goes with it.
            CHECK(tree.Has("C:\\O\\1") == !row.helperGoes);
            // Each helper that stays for a deferred file is told, so the log says why it stayed.
            bool keptForRestart = onePass && row.allowed && !row.alreadyNeeded && row.otherInUse;
            CHECK(tree.kept.size() == (keptForRestart ? 3u : 0u));
        }
    }
}

TEST_CASE("one pass leaves the machine as the name-by-name walks do, listing each directory once") {
    const char* pool[] = {"A.DLL", "b.hlp", "ZRESTART.EXE", "Cc.inf", ".dot", "D.EXE", "e.dll"};
    const char* roots[] = {"C:\\W", "C:\\T", "C:\\T2", "C:\\O", "C:\\O\\1", "C:\\P\\x"};
    std::mt19937 random(20240611);
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> lines;
        std::vector<std::string> directories(std::begin(roots), std::end(roots));
        int directoryCount = static_cast<int>(random() % 12), fileCount = static_cast<int>(random() % 30);
        for (int i = 0; i < directoryCount; ++i) {
            const std::string& parent = directories[random() % directories.size()];
            std::string child = parent + "\\" + (random() % 6 == 0 ? "." : "") + "d" + std::to_string(i);
            if (random() % 8 == 0) child = parent + "\\" + pool[random() % 7];  // named like a file
            directories.push_back(child);
            lines.push_back("D " + child);
        }
        for (int i = 0; i < fileCount; ++i) {
            std::string name = pool[random() % 7];
            if (random() % 2) std::transform(name.begin(), name.end(), name.begin(), ::tolower);
            lines.push_back((random() % 6 == 0 ? "L " : "F ") + directories[random() % directories.size()] +
                            "\\" + name);
        }
        std::vector<std::string> entries;
        for (const char* name : pool)
            if (random() % 3)
                entries.push_back(std::string(random() % 4 ? "" : "sub\\") + name +
                                  (random() % 4 ? "" : "=v"));
        std::vector<const char*> entryTexts;
        for (const std::string& e : entries) entryTexts.push_back(e.c_str());
        TextList names = Names(entryTexts);
        FileSearchPlaces places =
            Places({"C:\\W\\", "C:\\O\\1\\"}, {"C:\\T\\", "C:\\T2\\"}, {"C:\\O\\", "C:\\O\\1\\", "C:\\P\\"});
        FilesStepRules rules;
        rules.restartHelperAllowed = random() % 2;
        rules.rebootAlreadyNeeded = random() % 4 == 0;

        FakeTree literal(lines);
        FakeTree onePass(lines);
        CAPTURE(round);
        CHECK(RemoveFilesOneAtATime(literal, places, names, rules) ==
              RemoveFilesInOnePass(onePass, places, names, rules));
        CHECK(onePass.State() == literal.State());
        CHECK(onePass.listings <= literal.listings);
    }
}

TEST_CASE(
    "an OEM path stands for its directory; roots, protected directories and those above one are refused") {
    struct Row {
        const char* oemPath;
        const char* directory;
        const char* refusal;
    };
    std::vector<ProtectedDirectory> guarded = {
        {TextItem("C:\\WINDOWS"), "the Windows directory"},
        {TextItem("C:\\Program Files\\"), "the Program Files directory"},
        {TextItem("C:\\Users\\me\\AppData\\Start Menu\\Programs\\"), "the Programs folder"}};
    const Row rows[] = {
        {"C:\\Users\\me\\AppData\\", "C:\\Users\\me\\AppData\\", "holds the Programs folder"},
        {"C:\\Program\\", "C:\\Program\\", nullptr},  // a prefix of a name is no parent
        {"C:\\Maker\\OEM01\\", "C:\\Maker\\OEM01\\", nullptr},
        {"C:\\Maker\\OEM01", "C:\\Maker\\", nullptr},  // the last component counts as a file name
        {"C:\\Maker", "C:\\", "a drive root"},
        // The protected directories cannot be recognised through a share or a device path (this
        // computer's own Windows directory is \\localhost\C$\Windows too), nor a relative path.
        {"\\\\server\\share\\x", "\\\\server\\share\\", "not a full path on a drive"},
        {"\\\\server\\share\\dir\\", "\\\\server\\share\\dir\\", "not a full path on a drive"},
        {"\\\\?\\C:\\WINDOWS\\", "\\\\?\\C:\\WINDOWS\\", "not a full path on a drive"},
        {"Maker\\OEM01\\", "Maker\\OEM01\\", "not a full path on a drive"},
        {"C:Maker\\", "C:Maker\\", "not a full path on a drive"},
        {"C:\\windows\\", "C:\\windows\\", "the Windows directory"},
        {"C:\\Program Files\\Maker", "C:\\Program Files\\", "the Program Files directory"},
        {"Maker", "", "names no directory"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.oemPath);
        TextItem directory;
        OemSearchDirectory(row.oemPath, directory);
        CHECK(std::string(directory.Text()) == row.directory);
        TextItem refusal;
        CHECK(OemDirectoryRefused(directory.Text(), guarded, refusal) == (row.refusal != nullptr));
        CHECK(std::string(refusal.Text()) == std::string(row.refusal ? row.refusal : ""));
    }
    TextList order;
    for (const char* d : {"C:\\A\\", "C:\\A\\B\\", "c:\\a\\", "C:\\AB\\"}) order.Append(d);
    OrderInnerFirst(order);
    REQUIRE(order.Count() == 3);
    CHECK(std::string(order.At(0).Text()) == "C:\\AB\\");
    CHECK(std::string(order.At(1).Text()) == "C:\\A\\B\\");
}

TEST_CASE("a joined path that does not fit is refused, never cut") {
    std::string directory = "C:\\" + std::string(250, 'd');  // 253 characters
    TextItem path;
    CHECK(JoinPath(path, directory.c_str(), "12345"));  // 259 with the backslash
    CHECK(path.Length() == 259);
    CHECK_FALSE(JoinPath(path, directory.c_str(), "123456"));
    CHECK(path.IsEmpty());
}

TEST_CASE("an appended WININIT.INI line lands in a [rename] section on a line of its own") {
    struct Row {
        const char* text;
        bool inRename;
        bool lineEnded;
    };
    const Row rows[] = {
        {"", false, true},
        {"[rename]\r\nNUL=C:\\A.DLL\r\n", true, true},
        {"[RENAME]\r\nNUL=C:\\A.DLL", true, false},
        {"[Rename]\r\n[Other]\r\nx=1\r\n", false, true},
        {"[other]\n  [ReNaMe]  ; comment\n", true, true},
        {"[rename]\r\nkey=[other]\r\n", true, true},  // a bracket inside a line is no header
        {"[renamed]\r\n", false, true},
        {"[rename\r\n", false, true},  // an unclosed header is taken as another section
        // A header cut off by the end of the file is unclosed too, whatever section came before.
        {"[rename]\r\nNUL=C:\\A.DLL\r\n[Other", false, false},
        {"[rename]\r\n[rename", false, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.text);
        // Fed one byte at a time and whole: the file is read in pieces.
        WininitTail whole, bytes;
        std::string text = row.text;
        whole.Feed(text.data(), text.size());
        for (char c : text) bytes.Feed(&c, 1);
        CHECK(whole.InRenameSection() == row.inRename);
        CHECK(whole.LineEnded() == row.lineEnded);
        CHECK(bytes.InRenameSection() == row.inRename);
    }
}
