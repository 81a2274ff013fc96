#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build-all.sh native win32 win64 fuzz
tools/check-shipping.sh
status=0
ctest --preset native || status=1
ctest --preset win64 || status=1
ctest --preset fuzz || status=1
exit $status
