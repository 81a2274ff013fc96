#!/usr/bin/env bash
# Photographs windows that a show program of ours puts up one after another on a private X display,
# for a look by eye. The program writes VIEW.ready (holding the display name) into the folder it is
# given when VIEW is on screen, and goes on to the next view when VIEW.done appears.
#
#   tools/photograph-dialogs.sh BUILD-FOLDER PROGRAM SHOTS-NAME CROP VIEW...
#   tools/photograph-dialogs.sh build/win64 res_show_dialogs res-shots 700x500+0+0 main-removal about
#
# The pictures land in BUILD-FOLDER/SHOTS-NAME/VIEW.png.
set -euo pipefail
usage="usage: photograph-dialogs.sh BUILD-FOLDER PROGRAM SHOTS-NAME CROP VIEW..."
build=$(cd "${1:?$usage}" && pwd)
program=${2:?$usage}
shots=$build/${3:?$usage}
crop=${4:?$usage}
shift 4
[ $# -gt 0 ] || { echo "$usage" >&2; exit 2; }
tools=$(cd "$(dirname "$0")" && pwd)
rm -rf "$shots"
mkdir -p "$shots"

QWINE_ROOT=$build/wine QWINE_XVFB=1 "$tools/wine-run.sh" "$build/bin/$program.exe" "Z:${shots//\//\\}" \
    >"$shots/show.log" 2>&1 &
shower=$!

for view in "$@"; do
    for _ in $(seq 600); do
        [ -f "$shots/$view.ready" ] && break
        kill -0 "$shower" 2>/dev/null || { echo "the dialog program ended early" >&2; cat "$shots/show.log" >&2; exit 1; }
        sleep 0.1
    done
    [ -f "$shots/$view.ready" ] || { echo "no $view within 60 s" >&2; exit 1; }
    import -display "$(cat "$shots/$view.ready")" -window root -crop "$crop" "$shots/$view.png"
    touch "$shots/$view.done"
done
wait "$shower"
rm -f "$shots"/*.ready "$shots"/*.done
ls "$shots"/*.png
