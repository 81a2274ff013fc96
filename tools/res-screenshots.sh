#!/usr/bin/env bash
# Photographs every dialog of the uninstall tool (a win64 build with the res_show_dialogs target);
# the pictures land in BUILD-FOLDER/res-shots/<view>.png.
exec "$(dirname "$0")/photograph-dialogs.sh" "${1:?usage: res-screenshots.sh BUILD-FOLDER}" res_show_dialogs \
    res-shots 700x500+0+0 main-select-details main-select-icons main-panel-select-list main-removal loading \
    about profileview
