#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package from end to end, in two steps so that the build does not hold the virtual
# desktop that the end-to-end tests share:
#   test_deb.sh build     build it (scripts/package) and check it with lintian;
#   test_deb.sh install   install it with apt, run the installed /usr/bin/tessel on the virtual
#                         desktop (it records a copy and shows its tray icon), purge it, and
#                         check that none of its files remain.
#
# Needs root (apt) and, to install, an X server with a window manager in $DISPLAY (scripts/test
# starts one). Exits 77, which CTest reports as skipped, when either is missing or when a tessel
# package is already installed on this machine (the test would replace the user's own).
#
# lintian must report no error; warnings are printed and allowed. On Debian 12 (lintian 2.116)
# it reports none, and three tags of the informational level, which we accept:
# binary-has-unneeded-section (.comment, left by the compiler), and spelling-error-in-binary for
# "Nam" and "coment" (pieces of words of the emoji catalogue compiled into the binary).
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build_dir="${TESSEL_PACKAGE_BUILD_DIR:-$repo/build/package}"
mode="${1:?usage: test_deb.sh build|install}"

skip() {
    echo "SKIPPED: $*"
    exit 77
}
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

[[ $(id -u) -eq 0 ]] || skip "installing the package with apt needs root"

if [[ "$mode" == build ]]; then
    command -v lintian >/dev/null || skip "lintian is not installed (scripts/setup installs it)"
    echo "== building the package in $build_dir"
    deb="$("$repo/scripts/package" "$build_dir" | tail -n 1)"
    [[ -f "$deb" ]] || fail "no package was built"
    echo "== lintian"
    lintian --fail-on error --info --tag-display-limit 0 "$deb" || fail "lintian reported errors"
    echo "PASSED"
    exit 0
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt" 2>/dev/null)
deb="$build_dir/tessel_${version}_$(dpkg --print-architecture).deb"
[[ -n "$version" && -f "$deb" ]] || fail "no package in $build_dir: run test_deb.sh build first"
[[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1 || skip "no X server in DISPLAY"
for tool in trayer xclip xwininfo xdotool python3; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/setup installs it)"
done
if dpkg-query -W -f='${Status}' tessel 2>/dev/null | grep -q "ok installed"; then
    skip "a tessel package is already installed here; not replacing it"
fi

# apt and dpkg one at a time on a machine where others may run them too.
apt_run() {
    if command -v flock >/dev/null; then
        DEBIAN_FRONTEND=noninteractive flock /tmp/tessel-apt.lock apt-get "$@"
    else
        DEBIAN_FRONTEND=noninteractive apt-get "$@"
    fi
}

work="$(mktemp -d)"
installed=0
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    ((installed)) && apt_run purge -y -qq tessel >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

echo "== installing"
apt_run install -y -qq "$deb" >/dev/null || fail "apt-get install failed"
installed=1
dpkg-query -L tessel >"$work/files"
for path in /usr/bin/tessel /usr/share/applications/org.tessel_clipboard.Tessel.desktop \
    /usr/share/icons/hicolor/scalable/apps/org.tessel_clipboard.Tessel.svg \
    /usr/share/metainfo/org.tessel_clipboard.Tessel.metainfo.xml \
    /usr/share/man/man1/tessel.1.gz /usr/share/doc/tessel/copyright; do
    grep -qx "$path" "$work/files" || fail "the package does not install $path"
done
# Every command of the menu entry starts the binary the package installed.
execs=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' /usr/share/applications/org.tessel_clipboard.Tessel.desktop |
    sort -u)
[[ "$execs" == /usr/bin/tessel ]] || fail "the desktop entry starts $execs, not /usr/bin/tessel"
if grep -E '(^/usr/(include|lib/cmake)|bench|/test)' "$work/files"; then
    fail "the package carries more than the application (above)"
fi
echo "installed size: $(dpkg-query -W -f='${Installed-Size}' tessel) KiB"

echo "== running the installed tessel"
home="$work/home"
mkdir -p "$home" "$work/runtime"
chmod 0700 "$work/runtime"
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
export XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
# A session bus of its own, as a desktop session has, where no other tessel is registered.
unset DBUS_SESSION_BUS_ADDRESS
if command -v dbus-daemon >/dev/null; then
    bus="$(dbus-daemon --session --fork --print-address=1 --print-pid=1)"
    export DBUS_SESSION_BUS_ADDRESS="$(head -n 1 <<<"$bus")"
    pids+=("$(tail -n 1 <<<"$bus")")
fi
trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 &
pids+=($!)

# The windows inside trayer's, with their WM_CLASS; tessel's tray icon is docked among them.
tray_windows() {
    local id
    for id in $(xdotool search --class trayer 2>/dev/null); do
        xwininfo -tree -id "$id" 2>/dev/null || true
    done
}
wait_for() {
    local what="$1" seconds="$2"
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        ((SECONDS < deadline)) || fail "$what (waited ${seconds} s)"
        sleep 0.2
    done
}
tray_has_tessel() { tray_windows | grep -q '("tessel" '; }
wait_for "trayer did not start" 20 bash -c 'xdotool search --class trayer >/dev/null'
! tray_has_tessel || fail "a tessel icon is in the tray before tessel started"

/usr/bin/tessel &
tessel_pid=$!
pids+=("$tessel_pid")
wait_for "the tray icon of the installed tessel did not appear" 60 tray_has_tessel

registry="$XDG_DATA_HOME/tessel/registry.json"
copied="copied while Tessel ran from its package, $(date +%s%N)"
printf '%s' "$copied" | xclip -quiet -selection clipboard -i >/dev/null 2>&1 &
pids+=($!)
registry_holds_copy() {
    [[ -f "$registry" ]] && python3 - "$registry" "$copied" <<'PY'
import json, sys
entries = json.load(open(sys.argv[1], encoding="utf-8"))
sys.exit(0 if [e.get("text") for e in entries] == [sys.argv[2]] else 1)
PY
}
wait_for "the copy was not recorded in $registry" 30 registry_holds_copy

kill -TERM "$tessel_pid"
status=0
wait "$tessel_pid" || status=$?
((status == 0)) || fail "tessel exited with status $status on SIGTERM"

echo "== purging"
apt_run purge -y -qq tessel >/dev/null || fail "apt-get purge failed"
installed=0
! dpkg-query -W -f='${Status}' tessel 2>/dev/null | grep -q "ok installed" ||
    fail "tessel is still installed after the purge"
left=()
while IFS= read -r path; do
    # Shared folders (/usr/share/man/man1...) stay; anything of the package's own must go.
    if [[ -e "$path" && (! -d "$path" || "$path" == *tessel*) ]]; then
        left+=("$path")
    fi
done <"$work/files"
((${#left[@]} == 0)) || fail "left behind after the purge: ${left[*]}"
echo "PASSED"
