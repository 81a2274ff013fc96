#!/usr/bin/env bash
# The main job on the demo machine: installs what is missing, builds the win64 preset, seeds a
# fresh Wine prefix with a plausible installation of the maker's printers (tests/e2e/scenarios/
# demo.scn), runs QUINST01.EXE on it and prints the machine's state before and after.
#
# With $DISPLAY set the tool opens on that display and the demo waits until you close it.
# Without a display the demo's own steps drive the tool on a private Xvfb and the screenshots of
# each step are written to the folder named at the end (default build/win64/demo-shots).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64
shots=${QE2E_SHOTS:-$PWD/build/win64/demo-shots}
rm -rf "$shots"
mkdir -p "$shots"
status=0
if [ -n "${DISPLAY:-}" ]; then
    tools/e2e/run-scenario.sh --build build/win64 --interactive --print-dumps tests/e2e/scenarios/demo.scn || status=$?
else
    QE2E_SHOTS=$shots tools/e2e/run-scenario.sh --build build/win64 --print-dumps tests/e2e/scenarios/demo.scn \
        || status=$?
    echo "Screenshots: $shots"
    ls "$shots"
fi
exit $status
