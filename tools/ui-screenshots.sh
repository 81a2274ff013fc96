#!/usr/bin/env bash
# Photographs the loading window and the selection page in each view on a private X display, for a look by eye.
#
#   tools/ui-screenshots.sh BUILD-FOLDER      (a win64 build with the ui_show_pages target)
#
# The pictures land in BUILD-FOLDER/ui-shots/<view>.png.
set -euo pipefail
build=$(cd "${1:?usage: ui-screenshots.sh BUILD-FOLDER}" && pwd)
tools=$(cd "$(dirname "$0")" && pwd)
shots=$build/ui-shots
rm -rf "$shots"
mkdir -p "$shots"
views="loading select-list select-details select-icons select-small-icons"

QWINE_ROOT=$build/wine QWINE_XVFB=1 "$tools/wine-run.sh" "$build/bin/ui_show_pages.exe" "Z:${shots//\//\\}" \
    >"$shots/show.log" 2>&1 &
shower=$!

for view in $views; do
    for _ in $(seq 600); do
        [ -f "$shots/$view.ready" ] && break
        kill -0 "$shower" 2>/dev/null || { echo "the dialog program ended early" >&2; cat "$shots/show.log" >&2; exit 1; }
        sleep 0.1
    done
    [ -f "$shots/$view.ready" ] || { echo "no $view within 60 s" >&2; exit 1; }
    import -display "$(cat "$shots/$view.ready")" -window root -crop 600x420+212+174 "$shots/$view.png"
    touch "$shots/$view.done"
done
wait "$shower"
rm -f "$shots"/*.ready "$shots"/*.done
ls "$shots"/*.png
