#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, only those not yet installed.
set -euo pipefail
packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    g++-mingw-w64-x86-64 g++-mingw-w64-i686
    wine wine64 xvfb imagemagick x11-apps xdotool
    doctest-dev libbenchmark-dev nlohmann-json3-dev file locales python3
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd=sudo
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
# Wine takes its ANSI code page from the Unix locale, and it can name files outside ASCII only when
# that locale exists: the launcher's shortcut tests run under a Cyrillic and a Western one.
for loc in ru_RU en_US; do
    if ! locale -a 2>/dev/null | grep -qx "$loc.utf8"; then
        sudo_cmd=""
        [ "$(id -u)" -eq 0 ] || sudo_cmd=sudo
        $sudo_cmd localedef -i "$loc" -f UTF-8 "$loc.UTF-8"
    fi
done
# wine32 would make /usr/bin/wine pick a 32-bit loader that this kernel cannot run.
if [ -e /usr/lib/wine/wine ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "warning: a 32-bit Wine loader is installed and cannot run here; tests use wine64 directly" >&2
fi
