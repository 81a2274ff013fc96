#include "FakeProgman.h"

#include <ddeml.h>
#include <doctest/doctest.h>

namespace {
// DDEML gives the callback no context of its own; one stand-in serves at a time.
FakeProgman* serving = nullptr;
}  // namespace

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
