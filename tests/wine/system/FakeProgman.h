#pragma once
// A Program Manager stand-in for the DDE tests: it serves service and topic "PROGMAN" from a
// thread of its own and keeps every execute command it receives. Wine's own Program Manager
// answers DDE only on a real display.
#include <windows.h>

#include <string>
#include <vector>

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
