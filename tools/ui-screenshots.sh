#!/usr/bin/env bash
# Photographs the loading window, the selection page in each view and the removal page at its start,
# half-way and at its end (a win64 build with the ui_show_pages target); the pictures land in
# BUILD-FOLDER/ui-shots/<view>.png.
exec "$(dirname "$0")/photograph-dialogs.sh" "${1:?usage: ui-screenshots.sh BUILD-FOLDER}" ui_show_pages \
    ui-shots 600x420+212+174 loading select-list select-details select-icons select-small-icons \
    remove-start remove-middle remove-end
