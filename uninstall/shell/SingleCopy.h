#pragma once
// At most one copy of the tool works on a machine at a time.
#include <windows.h>

// Marks this copy as running for as long as the object lives, through a named mutex that copies
// in every session see: a copy started as SYSTEM by a deployment tool runs in a session and on a
// desktop of its own, where FindWindow never finds the window of a copy a person started.
class SingleCopy {
public:
    SingleCopy();
    ~SingleCopy();
    SingleCopy(const SingleCopy&) = delete;
    SingleCopy& operator=(const SingleCopy&) = delete;
    // True when another copy held the mark first, or has its main window open on this desktop.
    bool AnotherRuns() const { return another; }

private:
    HANDLE mutex;
    bool another;
};
