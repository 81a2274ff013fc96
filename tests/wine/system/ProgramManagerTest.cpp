// Program Manager commands over DDE, against a stand-in server.
#include <doctest/doctest.h>
#include <windows.h>
// ddeml.h needs the types of windows.h.
#include <ddeml.h>

#include "SystemTestSupport.h"
#include "system/ProgramManager.h"
#include "system/Shortcuts.h"

namespace {
// A Program Manager stand-in: it serves service and topic "PROGMAN" from a thread of its own and
// keeps every execute command it receives. Wine's own Program Manager answers DDE only on a real
// display.
class FakeProgman {
public:
    FakeProgman();
    ~FakeProgman();
    FakeProgman(const FakeProgman&) = delete;
    FakeProgman& operator=(const FakeProgman&) = delete;

    // The commands received, each with the bytes of its data (a terminating zero included).
    std::vector<std::string> commands;
    // Commands that begin with this text are rejected (DDE_FNOTPROCESSED); empty: none.
    std::string rejectPrefix;

private:
    static DWORD WINAPI Serve(void* self);
    static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV conversation, HSZ topic, HSZ service,
                                      HDDEDATA data, ULONG_PTR, ULONG_PTR);

    HANDLE thread_ = NULL;
    HANDLE ready_ = NULL;
    DWORD threadId_ = 0;
    DWORD instance_ = 0;
};

// DDEML gives the callback no context of its own; one stand-in serves at a time.
FakeProgman* serving = nullptr;

FakeProgman::FakeProgman() {
    serving = this;
    ready_ = CreateEventA(NULL, TRUE, FALSE, NULL);
    thread_ = CreateThread(NULL, 0, Serve, this, 0, &threadId_);
    REQUIRE(thread_ != NULL);
    REQUIRE(WaitForSingleObject(ready_, 10000) == WAIT_OBJECT_0);
    REQUIRE(instance_ != 0);
}

FakeProgman::~FakeProgman() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    CloseHandle(ready_);
    serving = nullptr;
}

DWORD WINAPI FakeProgman::Serve(void* self) {
    FakeProgman* fake = static_cast<FakeProgman*>(self);
    DWORD instance = 0;
    if (DdeInitializeA(&instance, Callback,
                       APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_REQUESTS | CBF_FAIL_POKES,
                       0) != DMLERR_NO_ERROR) {
        SetEvent(fake->ready_);
        return 1;
    }
    HSZ name = DdeCreateStringHandleA(instance, "PROGMAN", 0);
    DdeNameService(instance, name, NULL, DNS_REGISTER);
    MSG message;
    PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE);  // the thread's queue exists before anyone posts
    fake->instance_ = instance;
    SetEvent(fake->ready_);
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    DdeNameService(instance, name, NULL, DNS_UNREGISTER);
    DdeFreeStringHandle(instance, name);
    DdeUninitialize(instance);
    return 0;
}

HDDEDATA CALLBACK FakeProgman::Callback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA data, ULONG_PTR,
                                        ULONG_PTR) {
    if (type == XTYP_CONNECT) return reinterpret_cast<HDDEDATA>(TRUE);
    if (type != XTYP_EXECUTE || !serving) return NULL;
    DWORD size = DdeGetData(data, NULL, 0, 0);
    std::string command(size, '\0');
    if (size > 0) DdeGetData(data, reinterpret_cast<BYTE*>(&command[0]), size, 0);
    serving->commands.push_back(command);
    bool reject = !serving->rejectPrefix.empty() &&
                  command.compare(0, serving->rejectPrefix.size(), serving->rejectPrefix) == 0;
    return reinterpret_cast<HDDEDATA>(reject ? DDE_FNOTPROCESSED : DDE_FACK);
}

// A command as the server receives it: the text with its terminating zero.
std::string Sent(const char* text) {
    return std::string(text) + '\0';
}
}  // namespace

TEST_CASE("Program Manager: nobody serves DDE here without the stand-in") {
    CHECK(SendProgmanCommand("[ShowGroup(Quellan Printers,1)]") == 0);
    CHECK(DeleteProgmanItem("Quellan Printers", "Quellan Setup") == 0);
}

TEST_CASE("Program Manager: a shortcut is one ShowGroup and one DeleteItem") {
    FakeProgman progman;
    CHECK(DeleteProgmanItem("Quellan Printers", "Quellan Setup") == 1);
    CHECK(progman.commands == std::vector<std::string>{Sent("[ShowGroup(Quellan Printers,1)]"),
                                                       Sent("[DeleteItem(Quellan Setup)]")});

    SUBCASE("a rejected ShowGroup sends no DeleteItem") {
        progman.commands.clear();
        progman.rejectPrefix = "[ShowGroup";
        CHECK(DeleteProgmanItem("Quellan Printers", "Quellan Setup") == 0);
        CHECK(progman.commands == std::vector<std::string>{Sent("[ShowGroup(Quellan Printers,1)]")});
    }
}

TEST_CASE("Program Manager: names that do not fit the 64-character command are refused unsent") {
    FakeProgman progman;
    const std::string group48(48, 'g');
    const std::string item49(49, 'i');
    CHECK(DeleteProgmanItem(group48.c_str(), item49.c_str()) == 1);
    CHECK(progman.commands == std::vector<std::string>{Sent(("[ShowGroup(" + group48 + ",1)]").c_str()),
                                                       Sent(("[DeleteItem(" + item49 + ")]").c_str())});
    progman.commands.clear();
    CHECK(DeleteProgmanItem((group48 + "g").c_str(), "Quellan Setup") == 0);
    CHECK(DeleteProgmanItem("Quellan Printers", (item49 + "i").c_str()) == 0);
    CHECK(DeleteProgmanItem("Quellan Printers", "Setup)][DeleteGroup(Accessories") == 0);
    CHECK(progman.commands.empty());
}

TEST_CASE("Win32s shortcuts: Program Manager items, nothing sent in a dry run") {
    if (!COSInfo().IsWin32s()) return;
    FakeProgman progman;
    StepFixture f;
    f.Removal().Shortcuts.Append("Quellan Printers,Quellan Setup");
    f.Removal().Shortcuts.Append(("Quellan Printers," + std::string(50, 'i')).c_str());
    f.Removal().Shortcuts.Append("Quellan Printers");

    SUBCASE("removal") {
        RemoveShortcutsStep(f.ctx);
        CHECK(progman.commands == std::vector<std::string>{Sent("[ShowGroup(Quellan Printers,1)]"),
                                                           Sent("[DeleteItem(Quellan Setup)]")});
        CHECK(f.log.lines ==
              std::vector<std::string>{"removed shortcut Quellan Printers\\Quellan Setup | Program Manager",
                                       "kept shortcut Quellan Printers\\" + std::string(50, 'i') +
                                           " | name does not fit a Program Manager command",
                                       "kept group Quellan Printers | no Programs folder"});
    }
    SUBCASE("a rejected command is a failure") {
        progman.rejectPrefix = "[DeleteItem";
        RemoveShortcutsStep(f.ctx);
        CHECK(
            f.log.lines.at(0) ==
            "failed shortcut Quellan Printers\\Quellan Setup | Program Manager did not accept the commands");
    }
    SUBCASE("dry run") {
        f.ctx.dryRun = true;
        RemoveShortcutsStep(f.ctx);
        CHECK(progman.commands.empty());
        CHECK(f.log.lines.at(0) ==
              "present shortcut Quellan Printers\\Quellan Setup | Program Manager item, not checked");
    }
}
