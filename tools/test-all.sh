#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build-all.sh native win32 win64 fuzz
tools/check-shipping.sh
status=0
ctest --preset native || status=1
ctest --preset win64 -LE e2e || status=1
# The scenarios spend their time waiting for the tool's timers, not on the processor: four at a
# time take half as long as two, also on two cores.
ctest --preset win64 -L e2e -j4 || status=1
ctest --preset fuzz || status=1
exit $status
