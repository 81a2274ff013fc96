#pragma once
// What became of the restart the removal may need; an unattended run turns it into its exit code.
enum RestartOutcome {
    kRestartNotNeeded,  // nothing waits for a restart
    kRestartPending,    // deletions wait for the user's next restart; none is offered (Win32s, NT)
    kRestartDeclined,   // the user answered No to the restart question
    kRestartStarted,    // Windows is restarting
    kRestartFailed,     // the restart could not be started; the user was told to restart by hand
};
