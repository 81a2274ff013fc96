// The files step, deferred deletion and the restart offer on real files of a throwaway prefix. The
// program runs once per emulated version (files.cmake); each case checks what that version does.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../removal/RemovalTestSupport.h"
#include "res/resource.h"
#include "script/FileSpec.h"
#include "system/DeferredDelete.h"
#include "system/FileRemoval.h"
#include "system/Reboot.h"

namespace {
// "outcome | detail" of the last record of this kind for the object; empty when there is none.
std::string Outcome(const RecordingLog& log, const char* kind, const std::string& object) {
    const LoggedAction* action = log.Find(kind, object);
    if (!action) return "";
    return OutcomeName(action->outcome) + (action->detail.empty() ? std::string() : " | " + action->detail);
}

std::string Temp(const std::string& leaf) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "files\\" + leaf;
}

void MakeDirectories(const std::string& path) {
    for (size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1))
        CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

void Touch(const std::string& path) {
    MakeDirectories(path.substr(0, path.find_last_of('\\')));
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    CloseHandle(file);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Held open without delete sharing, as a running program holds its files: DeleteFileA gives 32.
HANDLE Hold(const std::string& path) {
    Touch(path);
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    return file;
}

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string WindowsFile(const char* name) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\" + name;
}

std::string PendingRenames() {
    HKEY key;
    std::string data;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return data;
    DWORD size = 0;
    if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr, nullptr, &size) ==
        ERROR_SUCCESS) {
        data.resize(size);
        RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(&data[0]), &size);
    }
    RegCloseKey(key);
    return data;
}

std::string ProgramPath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// The zwininit list is read beside the running program, so those cases run a copy of this program
// from a folder of their own, with or without zwininit.exe there. The copy runs the files step on
// its folder for the Files entries LOCKED.DLL and zreg32s.ini and answers the reboot-needed flag.
int RunFilesStepChild(const char* folder) {
    Removal removal;
    removal.ctx.searchDirectories.Append((std::string(folder) + "\\").c_str());
    removal.db.Removal().Files.Append("LOCKED.DLL");
    removal.db.Removal().Files.Append("zreg32s.ini");
    RemoveFilesStep(removal.ctx);
    return removal.db.RebootNeeded();
}
}  // namespace

TEST_CASE("a file that cannot be deleted waits for the restart by this version's mechanism") {
    Removal removal;
    const DeferMechanism mechanism = DeferMechanismFor(removal.ctx.os.GetKind());
    const std::string folder = Temp("defer\\Long Folder Name");
    const std::string locked = folder + "\\Locked File Name.dll";
    HANDLE held = Hold(locked);
    Touch(folder + "\\free.dll");
    Touch(folder + "\\readonly.dll");
    REQUIRE(SetFileAttributesA((folder + "\\readonly.dll").c_str(), FILE_ATTRIBUTE_READONLY));
    MakeDirectories(folder + "\\NAMED.DLL");
    DeleteFileA(WindowsFile("WININIT.INI").c_str());

    struct Row {
        std::string path;
        int result;
        std::string outcome;  // empty when nothing is recorded
    };
    const Row rows[] = {
        {folder + "\\free.dll", 1, "removed"},
        {folder + "\\missing.dll", 1, ""},  // a missing file counts as removed
        {Temp("no such folder\\x.dll"), 1, ""},
        {folder + "\\NAMED.DLL", 1, "kept | a directory, not a file"},
        {folder + "\\readonly.dll", 1, "removed | was read-only"},
        // Windows refuses the name itself: there is no file to wait for the restart.
        {folder + "\\OEM*.INF", 1, "failed"},
        {locked, 0,
         mechanism == kDeferZwininit ? "failed | no zwininit.exe beside the program"
                                     : std::string("deferred | ") + DeferMechanismName(mechanism)},
    };
    for (const Row& row : rows) {
        CAPTURE(row.path);
        removal.log.actions.clear();
        CHECK(DeleteFileOrDefer(removal.ctx, row.path.c_str()) == row.result);
        CHECK(Outcome(removal.log, "file", row.path) == row.outcome);
        CHECK(removal.log.actions.size() == (row.outcome.empty() ? 0u : 1u));
    }
    CHECK(Exists(locked));

    // Only the locked file was scheduled, and by the one mechanism.
    std::string pending = PendingRenames();
    CHECK((pending.find("\\??\\" + locked) != std::string::npos) == (mechanism == kDeferMoveFileEx));
    CHECK(pending.find("NAMED") == std::string::npos);
    CHECK(pending.find("OEM*") == std::string::npos);
    std::string wininit = ReadText(WindowsFile("WININIT.INI"));
    if (mechanism == kDeferWininit) {
        // The short form: Windows 9x carries the list out before long names are understood.
        char shortPath[MAX_PATH];
        REQUIRE(GetShortPathNameA(locked.c_str(), shortPath, MAX_PATH) > 0);
        CHECK(std::string(shortPath).find(' ') == std::string::npos);
        CHECK(wininit == "[RENAME]\r\nNUL=" + std::string(shortPath) + "\r\n");
    } else {
        CHECK(wininit.empty());
    }
    CloseHandle(held);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0,
                      KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "PendingFileRenameOperations");
        RegCloseKey(key);
    }
}

TEST_CASE("WININIT.INI gains one line in a [rename] section, and a path that does not fit is refused") {
    const std::string wininit = WindowsFile("WININIT.INI");
    const std::string fits = "C:\\" + std::string(244, 'd') + "\\F.DLL";  // 253 characters, no such file
    struct Row {
        const char* before;  // null: no file
        std::string path;
        DWORD result;
        std::string added;
    };
    const Row rows[] = {
        {nullptr, "C:\\A.DLL", ERROR_SUCCESS, "[RENAME]\r\nNUL=C:\\A.DLL\r\n"},
        {"[rename]\r\nNUL=C:\\OLD.DLL\r\n", "C:\\A.DLL", ERROR_SUCCESS, "NUL=C:\\A.DLL\r\n"},
        {"[Rename]\r\n[Other]\r\nx=1", "C:\\A.DLL", ERROR_SUCCESS, "\r\n[RENAME]\r\nNUL=C:\\A.DLL\r\n"},
        {"", fits, ERROR_SUCCESS, "[RENAME]\r\nNUL=" + fits + "\r\n"},
        {"[rename]\r\n", fits + "X", ERROR_FILENAME_EXCED_RANGE, ""},
        {nullptr, fits + "X", ERROR_FILENAME_EXCED_RANGE, ""},
    };
    for (const Row& row : rows) {
        CAPTURE(row.path);
        DeleteFileA(wininit.c_str());
        if (row.before) WriteText(wininit, row.before);
        CHECK(QueueWininitDelete(row.path.c_str()) == row.result);
        CHECK(Exists(wininit) == (row.before || row.result == ERROR_SUCCESS));
        CHECK(ReadText(wininit) == std::string(row.before ? row.before : "") + row.added);
    }
    DeleteFileA(wininit.c_str());
}

TEST_CASE("the zwininit list is written only when zwininit.exe sits beside the program") {
    Removal removal;
    if (DeferMechanismFor(removal.ctx.os.GetKind()) != kDeferZwininit) return;  // Win32s and NT 3.x only
    const std::string program = ProgramPath();
    const std::string library = program.substr(0, program.find_last_of('\\')) + "\\QSPOOL01.DLL";
    struct Row {
        const char* folder;
        bool helper;
        bool lockedListed;
    };
    const Row rows[] = {
        {"zw-without", false, false},
        {"zw-with", true, true},
        // As a key, a path holding "=" would be read back cut there, naming another file.
        {"zw=equals", true, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.folder);
        const std::string folder = Temp(row.folder);
        const std::string copy = folder + "\\" + program.substr(program.find_last_of('\\') + 1);
        MakeDirectories(folder);
        REQUIRE(CopyFileA(program.c_str(), copy.c_str(), FALSE));
        REQUIRE(CopyFileA(library.c_str(), (folder + "\\QSPOOL01.DLL").c_str(), FALSE));
        if (row.helper) Touch(folder + "\\zwininit.exe");
        HANDLE held = Hold(folder + "\\LOCKED.DLL");

        std::string commandLine = "\"" + copy + "\" --files-step \"" + folder + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        REQUIRE(CreateProcessA(copy.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
        WaitForSingleObject(process.hProcess, 30000);
        DWORD rebootNeeded = 99;
        GetExitCodeProcess(process.hProcess, &rebootNeeded);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        CloseHandle(held);

        CHECK(rebootNeeded == 1);  // raised even when the file could not be scheduled
        // The whole list, so that a key cut at "=" would show as well.
        char list[1024] = "";
        GetPrivateProfileSectionA("RENAME", list, sizeof list, (folder + "\\zwininit.ini").c_str());
        CHECK((std::string(list) == folder + "\\LOCKED.DLL=NUL") == row.lockedListed);
        CHECK((strstr(list, "LOCKED") != nullptr) == row.lockedListed);
        // With no printer of the maker left, Win32s also lets zwininit take the setup INI file.
        char value[16] = "";
        GetPrivateProfileStringA("RENAME", WindowsFile("zreg32s.ini").c_str(), "", value, sizeof value,
                                 (folder + "\\zwininit.ini").c_str());
        CHECK(std::string(value) == (row.helper && removal.ctx.os.IsWin32s() ? "NUL" : ""));
    }
}

TEST_CASE("the files step over real folders, as a dry run and for real") {
    const std::string root = Temp("step");
    const std::string system = root + "\\SYS\\", tree = root + "\\DRV\\", oem = root + "\\OEM\\";
    struct Row {
        std::string path;
        bool goes;
    };
    COSInfo os;
    const Row rows[] = {
        {system + "QLN.DLL", true},  // the same name in each kind of place
        {tree + "QLN.DLL", true},
        {tree + "1\\2\\QLN.DLL", true},
        {tree + "1\\2\\3\\QLN.DLL", false},  // three levels below a search tree
        {oem + "1\\2\\3\\QLN.DLL", true},    // but found three levels below an OEM directory
        {oem + "1\\other.txt", false},
        {oem + "1\\2", true},  // emptied, so removed
        {oem + "empty", true},
        {system + "ZRESTART.EXE", !os.IsWin32s()},  // no printer stays and nothing waits
        {system + "OTHER.DLL", false},
    };
    for (const Row& row : rows)
        (row.path.back() == '\\' || row.path.find('.') == std::string::npos) ? MakeDirectories(row.path)
                                                                             : Touch(row.path);

    for (int dryRun = 1; dryRun >= 0; --dryRun) {
        CAPTURE(dryRun);
        Removal removal(dryRun != 0);
        removal.ctx.searchDirectories.Append(system.c_str());
        removal.ctx.searchTrees.Append(tree.c_str());
        removal.db.Removal().Files.Append("QLN.DLL=5");
        removal.db.Removal().Files.Append("OEM*.INF");
        // The parent rule: "...\OEM\OEM01" stands for "...\OEM\". Roots and Windows' own
        // directories are never walked with folder removal.
        for (const std::string& path : {oem + "OEM01", std::string("C:\\MAKER"), WindowsFile("")})
            removal.db.Removal().OemPaths.Append(path.c_str());
        RemoveFilesStep(removal.ctx);

        for (const Row& row : rows) {
            CAPTURE(row.path);
            CHECK(Exists(row.path) == (dryRun || !row.goes));
            bool isFile = row.path.find('.') != std::string::npos;
            if (isFile && row.goes)
                CHECK(Outcome(removal.log, "file", row.path) == (dryRun ? "present" : "removed"));
        }
        CHECK(Outcome(removal.log, "file", "OEM*.INF") == "kept | not a file name");
        CHECK(Outcome(removal.log, "oem-path", "C:\\MAKER") == "kept | a drive root");
        CHECK(Outcome(removal.log, "oem-path", WindowsFile("")) == "kept | the Windows directory");
        CHECK(Outcome(removal.log, "directory", oem + "1\\2") == (dryRun ? "" : "removed"));
        CHECK(removal.db.RebootNeeded() == 0);
    }
}

TEST_CASE("an OEM path is refused in any spelling of a protected folder, and above one") {
    if (COSInfo().IsWin32s()) return;  // no shell folders
    // Windows' short names: Wine hashes them, so they are asked for, never written here.
    auto shortPath = [](const TextItem& path) {
        char out[MAX_PATH] = "";
        GetShortPathNameA(path.Text(), out, MAX_PATH);
        return std::string(out);
    };
    TextItem programFiles, startMenu, programs;
    ShellFolderPath(38, programFiles);
    ShellFolderPath(11, startMenu);
    ShellFolderPath(2, programs);
    const std::string menu = startMenu.Text();
    struct Row {
        std::string oemPath;
        std::string outcome;  // empty: walked
    };
    const Row rows[] = {
        {shortPath(programFiles) + "\\Maker", "kept | the Program Files directory"},
        {std::string(programs.Text()) + "Quellan", "kept | the Programs folder"},
        {menu.substr(0, menu.find_last_of('\\', menu.size() - 2) + 1), "kept | holds the Start Menu folder"},
        {shortPath(programFiles) + "\\Maker\\", ""},  // a folder inside one is walked
    };
    Removal removal(true);
    for (const Row& row : rows) removal.db.Removal().OemPaths.Append(row.oemPath.c_str());
    FileSearchPlaces places;
    BuildFileSearchPlaces(removal.ctx, places);
    for (const Row& row : rows) {
        CAPTURE(row.oemPath);
        CHECK(Outcome(removal.log, "oem-path", row.oemPath) == row.outcome);
        CHECK(places.oemDirectories.Contains(row.oemPath.c_str()) == row.outcome.empty());
    }
}

namespace {
int exitWindowsCalls = 0;
BOOL exitWindowsResult = TRUE;
BOOL WINAPI FakeExitWindows(UINT flags, DWORD) {
    if (flags == EWX_REBOOT) ++exitWindowsCalls;
    return exitWindowsResult;
}
}  // namespace

// The restart question's answer; every other box is answered OK.
struct Answering : RecordingPrompts {
    int answer = IDNO;
    int Show(UINT textId, UINT flags, const char* argument) override {
        RecordingPrompts::Show(textId, flags, argument);
        return textId == IDS_REBOOT_QUESTION ? answer : IDOK;
    }
};

TEST_CASE("the closing message, and the restart question on Windows 9x") {
    const int family = COSInfo().GetFamily();
    const int win9x = COSInfo::kFamilyWin9x;
    const std::string complete = std::to_string(IDS_COMPLETE), question = std::to_string(IDS_REBOOT_QUESTION);
    struct Row {
        int databaseFamily;  // a Windows 9x database on another family takes the privileged path
        int rebootNeeded;
        int answer;
        BOOL restartWorks;
        std::vector<std::string> boxes;
        RestartOutcome outcome;
    };
    const Row rows[] = {
        {family, 0, IDYES, TRUE, {complete}, kRestartNotNeeded},
        {family,
         1,
         IDYES,
         TRUE,
         {family == win9x ? question : complete},
         family == win9x ? kRestartStarted : kRestartPending},
        {win9x, 1, IDNO, TRUE, {question}, kRestartDeclined},
        {win9x, 1, IDYES, TRUE, {question}, kRestartStarted},
        {win9x, 1, IDYES, FALSE, {question, std::to_string(IDS_REBOOT_FAILED)}, kRestartFailed},
    };
    SetExitWindowsFunction(FakeExitWindows);
    for (const Row& row : rows) {
        CAPTURE(row.databaseFamily);
        CAPTURE(row.answer);
        UninstallDatabase db(row.databaseFamily);
        db.SetRebootNeeded(row.rebootNeeded);
        Answering prompts;
        prompts.answer = row.answer;
        RecordingLog log;
        RemovalContext ctx(db, prompts, log);
        exitWindowsCalls = 0;
        exitWindowsResult = row.restartWorks;
        CHECK(OfferReboot(ctx) == row.outcome);
        CHECK(prompts.shown == row.boxes);
        CHECK(exitWindowsCalls == (row.outcome == kRestartStarted || row.outcome == kRestartFailed ? 1 : 0));
    }
    SetExitWindowsFunction(nullptr);
}

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--files-step") return RunFilesStepChild(argv[2]);
    doctest::Context context(argc, argv);
    return context.run();
}
