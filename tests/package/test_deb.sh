#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package from end to end, in two steps so that the build does not hold the virtual
# desktops that the end-to-end tests share:
#   test_deb.sh build     build it (scripts/package), check that it is reproducible and lint it;
#   test_deb.sh install   install it with apt, run the installed /usr/bin/tessel on the virtual X
#                         desktop (it records a copy and shows its tray icon) and on the headless
#                         sway (on Qt's Wayland platform it records a wl-copy and quits on
#                         `tessel --quit`), check that every library and plugin it loaded comes
#                         with the package's dependencies, purge it, and check that none of its
#                         files remain.
#
# Reproducible: a second pack of the same build tree gives the same bytes; every time stamp in
# the archives is the last commit's; the compressed manual page and changelog carry no name or
# time; no file names the source or build tree. (`scripts/package --check-reproducible` builds a
# commit twice from scratch, which is too slow for every run.)
#
# Needs root (apt) and, to install, an X server with a window manager in $DISPLAY (scripts/test
# starts one); the sway run needs start_wayland_desktop's session and is left out, saying so,
# without one. Exits 77, which CTest reports as skipped, when root or the X server is missing or
# when a tessel package is already installed on this machine (the test would replace the user's
# own).
#
# lintian must report no error or warning. On Debian 12 (lintian 2.116) it reports three tags of
# the informational level, which we accept: binary-has-unneeded-section (.comment, left by the
# compiler), and spelling-error-in-binary for "Nam" and "coment" (pieces of words of the emoji
# catalogue compiled into the binary).
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build_dir="${TESSEL_PACKAGE_BUILD_DIR:-$repo/build/package}"
mode="${1:?usage: test_deb.sh build|install}"

skip() {
    echo "SKIPPED: $*"
    exit 77
}
# What the installed tessel printed, shown with a failure.
log=""
fail() {
    [[ -z "$log" || ! -s "$log" ]] || { echo "--- $log:"; cat "$log"; } >&2
    echo "FAILED: $*" >&2
    exit 1
}

[[ $(id -u) -eq 0 ]] || skip "installing the package with apt needs root"

work="$(mktemp -d)"
chmod 0755 "$work"
installed=0
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    ((installed)) && apt_run purge -y -qq tessel >/dev/null 2>&1 || true
    # Tessel reads the desktop's colour scheme from the settings portal; the portal the session
    # bus starts for it brings the document portal, which mounts its folder in the runtime dir.
    local mount
    while read -r mount; do
        umount -l "$mount" 2>/dev/null || true
    done < <(findmnt -rn -o TARGET 2>/dev/null | grep -F "$work/" || true)
    rm -rf "$work"
}
trap cleanup EXIT

# Every member of the .deb and of its two tar archives carries the one time `epoch`, root owns
# them, the installed files are sorted, and each gzip stream inside (the manual page, the changelog)
# has neither a time nor a file name in its header.
check_archive() {
    python3 - "$1" "$2" <<'PY'
import gzip, io, sys, tarfile
path, epoch = sys.argv[1], int(sys.argv[2])
data = open(path, "rb").read()
assert data.startswith(b"!<arch>\n"), "not an ar archive"
problems, offset = [], 8
while offset < len(data):
    header = data[offset:offset + 60]
    name, mtime = header[:16].decode().strip(), int(header[16:28])
    owner, group = int(header[28:34]), int(header[34:40])
    size = int(header[48:58])
    body = data[offset + 60:offset + 60 + size]
    offset += 60 + size + size % 2
    if mtime != epoch or owner or group:
        problems.append(f"{name}: time {mtime}, owner {owner}:{group}")
    if ".tar" not in name:
        continue
    with tarfile.open(fileobj=io.BytesIO(body)) as tar:
        members = tar.getmembers()
        names = [m.name for m in members]
        # CPack writes control.tar as md5sums, control: fixed, if not sorted.
        if name.startswith("data.tar") and names != sorted(names):
            problems.append(f"{name}: members not sorted: {names}")
        for m in members:
            if m.mtime != epoch or m.uid or m.gid or m.uname != "root" or m.gname != "root":
                problems.append(f"{name}/{m.name}: time {m.mtime}, owner {m.uname}:{m.gname}")
            if m.isfile() and m.name.endswith(".gz"):
                head = tar.extractfile(m).read(10)
                # FLG bit 3 is FNAME; bytes 4-7 are MTIME.
                if head[3] & 0x08 or head[4:8] != b"\0\0\0\0":
                    problems.append(f"{m.name}: gzip header with a name or a time")
for problem in problems:
    print(problem, file=sys.stderr)
sys.exit(1 if problems else 0)
PY
}

if [[ "$mode" == build ]]; then
    command -v lintian >/dev/null || skip "lintian is not installed (scripts/setup installs it)"
    echo "== building the package in $build_dir"
    deb="$("$repo/scripts/package" "$build_dir" | tail -n 1)"
    [[ -f "$deb" ]] || fail "no package was built"

    echo "== reproducible"
    again="$("$repo/scripts/package" --repack "$work/again" "$build_dir" | tail -n 1)"
    cmp "$deb" "$again" || fail "a second pack of the same build differs from the first"
    epoch="${SOURCE_DATE_EPOCH:-$(git -C "$repo" log -1 --format=%ct 2>/dev/null || true)}"
    if [[ -n "$epoch" ]]; then
        check_archive "$deb" "$epoch" || fail "the archive carries other times or owners (above)"
    else
        echo "not a git checkout: the time stamps are not compared with the last commit's"
    fi
    mkdir "$work/unpacked"
    dpkg-deb -R "$deb" "$work/unpacked"
    for tree in "$repo" "$build_dir"; do
        if grep -rlaF "$tree" "$work/unpacked" ||
            find "$work/unpacked" -name '*.gz' -exec zgrep -laF "$tree" {} +; then
            fail "the files above name $tree"
        fi
    done

    echo "== lintian"
    lintian --fail-on error,warning --info --tag-display-limit 0 "$deb" ||
        fail "lintian reported errors or warnings"
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
wait_for() {
    local what="$1" seconds="$2"
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        ((SECONDS < deadline)) || fail "$what (waited ${seconds} s)"
        sleep 0.2
    done
}
# registry_holds <registry.json> <text>: the newest entry of the history is that text.
registry_holds() {
    [[ -f "$1" ]] && python3 - "$1" "$2" <<'PY'
import json, sys
entries = json.load(open(sys.argv[1], encoding="utf-8"))
sys.exit(0 if entries and entries[0].get("text") == sys.argv[2] else 1)
PY
}

# Without the recommended packages: what Tessel cannot run without must be a dependency.
echo "== installing"
apt_run install -y -qq --no-install-recommends "$deb" >/dev/null || fail "apt-get install failed"
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

# What installing tessel installs: its dependencies and theirs.
closure() {
    apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts \
        --no-breaks --no-replaces --no-enhances "$@" | grep -v '^[ <]' | sort -u
}
closure tessel >"$work/depends"
# What may be missing, and is used when present: what tessel recommends, and the pointer themes
# that libX11 opens by itself (libXcursor).
# shellcheck disable=SC2046
closure $(dpkg-query -W -f='${Recommends}' tessel | sed 's/([^)]*)//g; s/[,|]/ /g') libxcursor1 |
    sort -u - "$work/depends" >"$work/optional"
# check_loaded <pid>: every library and plugin the process has mapped belongs to a package that
# installing tessel installs, or to an optional one; Qt's platform plugins (Qt cannot start
# without the one it was asked for) and their Wayland shells always to the first.
check_loaded() {
    python3 - "$1" "$work/depends" "$work/optional" <<'PY' && return

import re, subprocess, sys
pid, depends, optional = sys.argv[1], sys.argv[2], sys.argv[3]
depends = set(open(depends).read().split())
optional = set(open(optional).read().split())
paths = set()
for line in open(f"/proc/{pid}/maps"):
    fields = line.split()
    if len(fields) >= 6 and fields[5].startswith("/usr/") and re.search(r"\.so(\.|$)", fields[5]):
        paths.add(fields[5])
problems = [] if paths else ["(none: no library is mapped)"]
# One query for all: "pkg:arch, pkg2: /path" lines. dpkg knows the libraries of merged /usr by
# their /lib path.
query = sorted(paths) + sorted(p[len("/usr"):] for p in paths)
out = subprocess.run(["dpkg-query", "-S", *query], capture_output=True, text=True).stdout
owners = {}
for line in out.splitlines():
    if line.startswith("diversion "):
        continue
    names, _, path = line.rpartition(": ")
    path = path if path.startswith("/usr/") else "/usr" + path
    owners.setdefault(path, set()).update(n.split(":")[0] for n in names.split(", "))
for path in sorted(paths):
    strict = "/qt6/plugins/platforms/" in path or "/qt6/plugins/wayland-" in path
    allowed = depends if strict else optional
    found = owners.get(path, set())
    if not found or not found <= allowed:
        problems.append(f"{path} ({', '.join(sorted(found)) or 'no package'})")
for problem in problems:
    print(problem, file=sys.stderr)
sys.exit(1 if problems else 0)
PY
    fail "process $1 loaded the libraries above from packages that installing tessel does not bring"
}

echo "== running the installed tessel on X11"
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
tray_has_tessel() { tray_windows | grep -q '("tessel" '; }
wait_for "trayer did not start" 20 bash -c 'xdotool search --class trayer >/dev/null'
! tray_has_tessel || fail "a tessel icon is in the tray before tessel started"

log="$work/x11.log"
/usr/bin/tessel >"$log" 2>&1 &
tessel_pid=$!
pids+=("$tessel_pid")
wait_for "the tray icon of the installed tessel did not appear" 60 tray_has_tessel

copied="copied while Tessel ran from its package, $(date +%s%N)"
printf '%s' "$copied" | xclip -quiet -selection clipboard -i >/dev/null 2>&1 &
pids+=($!)
wait_for "the copy was not recorded" 30 registry_holds "$XDG_DATA_HOME/tessel/registry.json" \
    "$copied"
check_loaded "$tessel_pid"

kill -TERM "$tessel_pid"
status=0
wait "$tessel_pid" || status=$?
((status == 0)) || fail "tessel exited with status $status on SIGTERM"
log=""

echo "== running the installed tessel on sway"
if [[ -z "${TESSEL_WAYLAND_DISPLAY:-}" ]]; then
    echo "no headless sway session (scripts/test starts one): the Wayland run is left out"
else
    command -v wl-copy >/dev/null || skip "wl-copy is not installed (scripts/setup installs it)"
    # The session's own user (as root, the unprivileged one sway runs as) owns this home.
    whome="$work/wayland-home"
    mkdir -m 0700 "$whome"
    [[ -z "${TESSEL_WAYLAND_USER:-}" ]] || chown "$TESSEL_WAYLAND_USER:" "$whome"
    session=("$repo/tests/e2e/wayland/as-session-user" env -u QT_QPA_PLATFORM HOME="$whome"
        XDG_CONFIG_HOME="$whome/.config" XDG_DATA_HOME="$whome/.local/share"
        XDG_CACHE_HOME="$whome/.cache")
    bus="$("${session[@]}" dbus-daemon --session --fork --print-address=1 --print-pid=1)"
    pids+=("$(tail -n 1 <<<"$bus")")
    session+=(DBUS_SESSION_BUS_ADDRESS="$(head -n 1 <<<"$bus")")

    log="$work/wayland.log"
    "${session[@]}" QT_LOGGING_RULES="tessel.app.debug=true" /usr/bin/tessel >"$log" 2>&1 &
    tessel_pid=$!
    pids+=("$tessel_pid")
    on_wayland() { grep -q "on Qt's wayland" "$log"; }
    wait_for "tessel did not start on Qt's Wayland platform" 30 on_wayland

    copied="wl-copied while Tessel ran from its package, $(date +%s%N)"
    "${session[@]}" wl-copy -- "$copied" || fail "wl-copy failed"
    wait_for "the wl-copy was not recorded" 30 \
        registry_holds "$whome/.local/share/tessel/registry.json" "$copied"
    check_loaded "$tessel_pid"
    # wl-copy's child serves the selection until it is cleared.
    "${session[@]}" wl-copy --clear || true

    "${session[@]}" /usr/bin/tessel --quit || fail "tessel --quit failed"
    deadline=$((SECONDS + 15))
    while kill -0 "$tessel_pid" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.2; done
    kill -0 "$tessel_pid" 2>/dev/null && fail "tessel --quit did not end tessel within 15 s"
    status=0
    wait "$tessel_pid" || status=$?
    ((status == 0)) || fail "tessel exited with status $status on --quit"
    log=""
fi

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
