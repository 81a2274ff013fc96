// The files step on a generated driver installation, walked name by name and in one pass, side by
// side on the same tree: directory listings and wall time of each, and whether both leave the
// machine in the same state (files, folders, deferred deletions, reboot-needed flag).
//
//   QWINE_FRESH=1 tools/wine-run.sh build/win64/bin/files_bench.exe [DIRECTORIES] [NAMES] [SEED]
//
// Defaults 2000 directories and 300 names. Two search trees (listed two levels deep) and one OEM
// directory (three levels deep) share the directories; three search directories hold files too.
// Every directory holds four files named from the Files list or from other programs' names, and a
// few listed files are held open, so they are deferred. Exit code 0 when both end states are equal
// and the one-pass walk listed each directory exactly once.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "script/UninstallDatabase.h"
#include "system/FileRemoval.h"

namespace {
struct Deferrals : ActionLog {
    std::vector<std::string> paths;
    void Record(const ActionRecord& record) override {
        if (record.outcome == kOutcomeDeferred) paths.push_back(record.object);
    }
};

struct NoPrompts : RemovalPrompts {
    int Show(UINT, UINT, const char*) override { return IDOK; }
};

struct Layout {
    std::string root;
    std::vector<std::string> searchDirectories, trees, oem;
    std::vector<std::string> names;
    long reachable = 0;  // directories within the walks' depth: what one pass lists
};

void Touch(const std::string& path) {
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

void DeleteTree(const std::string& directory) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((directory + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(directory + "\\" + name);
            else
                DeleteFileA((directory + "\\" + name).c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(directory.c_str());
}

// Every file and folder under the root, sorted: the end state the two walks are compared by.
void Snapshot(const std::string& directory, std::vector<std::string>& out) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((directory + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        out.push_back(directory + "\\" + name);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Snapshot(directory + "\\" + name, out);
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

// Builds the same machine for the same seed; returns the files held open (the caller closes them).
std::vector<HANDLE> Build(Layout& layout, int directories, int names, unsigned seed) {
    std::mt19937 random(seed);
    DeleteTree(layout.root);
    CreateDirectoryA(layout.root.c_str(), nullptr);
    layout.names.clear();
    for (int i = 0; i < names; ++i) layout.names.push_back("QLN" + std::to_string(i) + ".DLL");
    auto fileName = [&]() {
        return random() % 2 ? layout.names[random() % layout.names.size()]
                            : "OTH" + std::to_string(random() % 500) + ".DLL";
    };
    std::vector<HANDLE> held;
    auto fill = [&](const std::string& directory) {
        for (int f = 0; f < 4; ++f) {
            std::string path = directory + "\\" + fileName();
            Touch(path);
            if (random() % 400 == 0 && path.find("QLN") != std::string::npos)
                held.push_back(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
        }
    };

    layout.searchDirectories = {layout.root + "\\SYS\\", layout.root + "\\WIN\\", layout.root + "\\COLOR\\"};
    layout.trees = {layout.root + "\\DRV\\", layout.root + "\\PRC\\"};
    layout.oem = {layout.root + "\\OEM\\"};
    for (const std::string& d : layout.searchDirectories) {
        CreateDirectoryA(d.c_str(), nullptr);
        fill(d.substr(0, d.size() - 1));
    }
    // Breadth first under the three walked roots, within each walk's depth, with the fewest
    // subdirectories a folder that make up the count.
    int branching = 2;
    while (2 * (branching + branching * branching) + branching + branching * branching * (1 + branching) <
           directories)
        ++branching;
    struct Pending {
        std::string path;
        int level, depth;
    };
    std::vector<Pending> queue;
    for (const std::string& t : layout.trees) queue.push_back({t.substr(0, t.size() - 1), 0, 2});
    queue.push_back({layout.oem[0].substr(0, layout.oem[0].size() - 1), 0, 3});
    int made = 0;
    layout.reachable = 0;
    for (size_t i = 0; i < queue.size(); ++i) {
        Pending p = queue[i];
        if (p.level > 0 && made >= directories) continue;
        CreateDirectoryA(p.path.c_str(), nullptr);
        if (p.level > 0) ++made;
        ++layout.reachable;
        fill(p.path);
        if (p.level < p.depth)
            for (int c = 0; c < branching; ++c)
                queue.push_back({p.path + "\\d" + std::to_string(c), p.level + 1, p.depth});
    }
    return held;
}

struct Outcome {
    double seconds;
    long listings;
    int rebootNeeded;
    std::vector<std::string> state;
};

Outcome Run(Layout& layout, int directories, int names, unsigned seed, bool onePass) {
    std::vector<HANDLE> held = Build(layout, directories, names, seed);
    UninstallDatabase database(COSInfo().GetFamily());
    NoPrompts prompts;
    Deferrals deferrals;
    RemovalContext ctx(database, prompts, deferrals);
    for (const std::string& d : layout.searchDirectories) ctx.searchDirectories.Append(d.c_str());
    for (const std::string& t : layout.trees) ctx.searchTrees.Append(t.c_str());
    FileSearchPlaces places;
    places.directories = ctx.searchDirectories;
    places.trees = ctx.searchTrees;
    for (const std::string& o : layout.oem) places.oemDirectories.Append(o.c_str());
    TextList files, fileNames;
    for (const std::string& n : layout.names) files.Append(n.c_str());
    FileNamesOf(files, fileNames);
    FilesStepRules rules;
    rules.restartHelperAllowed = true;

    MachineFileOps ops(ctx);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    int deferred = onePass ? RemoveFilesInOnePass(ops, places, fileNames, rules)
                           : RemoveFilesOneAtATime(ops, places, fileNames, rules);
    QueryPerformanceCounter(&end);
    for (HANDLE h : held) CloseHandle(h);

    Outcome outcome{
        double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart), ops.Listings(), deferred, {}};
    Snapshot(layout.root, outcome.state);
    std::sort(deferrals.paths.begin(), deferrals.paths.end());
    for (const std::string& d : deferrals.paths) outcome.state.push_back("deferred " + d);
    std::sort(outcome.state.begin(), outcome.state.end());
    return outcome;
}
}  // namespace

int main(int argc, char** argv) {
    int directories = argc > 1 ? atoi(argv[1]) : 2000;
    int names = argc > 2 ? atoi(argv[2]) : 300;
    unsigned seed = argc > 3 ? static_cast<unsigned>(atoi(argv[3])) : 7u;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    Layout layout;
    layout.root = std::string(temp) + "files_bench";

    Outcome literal = Run(layout, directories, names, seed, false);
    Outcome onePass = Run(layout, directories, names, seed, true);
    DeleteTree(layout.root);

    bool same = literal.state == onePass.state && literal.rebootNeeded == onePass.rebootNeeded;
    printf("%d directories (%ld within the walks' reach), %d names\n", directories, layout.reachable, names);
    printf("name by name: %8ld listings %9.3f s\n", literal.listings, literal.seconds);
    printf("one pass:     %8ld listings %9.3f s  (%.1fx faster)\n", onePass.listings, onePass.seconds,
           onePass.seconds > 0 ? literal.seconds / onePass.seconds : 0.0);
    printf("end states %s (%zu entries, reboot needed %d)\n", same ? "equal" : "DIFFER", onePass.state.size(),
           onePass.rebootNeeded);
    return same && onePass.listings == layout.reachable ? 0 : 1;
}
