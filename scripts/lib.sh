# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by scripts/run and scripts/test.
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc 2>/dev/null || echo 2)"

# build_preset <preset> [target...]
build_preset() {
    local preset="$1"
    shift
    local targets=()
    (($# > 0)) && targets=(--target "$@")
    local launcher=()
    # A developer's repeated builds (and several work trees of one clone) share ccache's hits.
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        export CCACHE_BASEDIR="$repo" CCACHE_NOHASHDIR=true
    fi
    # cmake --build --preset reads the presets of the current folder: from elsewhere (a fresh
    # clone's scripts started from another checkout) it would build that checkout instead.
    (
        cd "$repo"
        cmake --preset "$preset" "${launcher[@]}" >/dev/null
        cmake --build --preset "$preset" -j "$jobs" "${targets[@]}"
    )
}

# Starts Xvfb on a free display with openbox and exports DISPLAY; stopped when the script exits.
start_virtual_desktop() {
    local n
    for n in $(seq 90 120); do
        [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || break
    done
    Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    openbox --sm-disable >/dev/null 2>&1 &
    wm_pid=$!
    stop_on_exit "$wm_pid" "$xvfb_pid"
    sleep 0.5
}

# Processes stopped, and temporary directories (the compositors' runtime directories among them)
# removed, when the script exits, whichever function started or made them.
desktop_pids=()
temp_dirs=()
stop_desktops() {
    [[ ${#desktop_pids[@]} -eq 0 ]] || kill "${desktop_pids[@]}" 2>/dev/null || true
    [[ ${#temp_dirs[@]} -eq 0 ]] || rm -rf "${temp_dirs[@]}" 2>/dev/null || true
}
stop_on_exit() {
    desktop_pids+=("$@")
    trap stop_desktops EXIT
}

# The unprivileged account sway and its clients run as when the tests run as root.
wayland_test_user=tessel-wayland

# Prints the account a compositor runs as: $wayland_test_user (created once) when run as root,
# which can read the build tree; nothing otherwise (the caller's own).
wayland_session_user() {
    [[ $(id -u) -eq 0 ]] || return 0
    local user="$wayland_test_user"
    id -u "$user" >/dev/null 2>&1 ||
        useradd --system --create-home --home-dir "/var/lib/$user" \
            --shell /usr/sbin/nologin "$user"
    # Build trees made under a restrictive umask would hide the binaries from that user.
    find "$repo/build" ! -perm -o+r -exec chmod o+rX {} + 2>/dev/null || true
    echo "$user"
}

# wayland_runtime_dir <name> <user>: prints a new private runtime directory owned by <user>.
wayland_runtime_dir() {
    local runtime
    runtime="$(mktemp -d "/tmp/tessel-$1.XXXXXX")"
    chmod 0700 "$runtime"
    [[ -z "$2" ]] || chown "$2:" "$runtime"
    echo "$runtime"
}

# Starts a headless sway (no GPU, no input devices) with tests/e2e/wayland/sway.config, in a
# runtime directory of its own. Exports TESSEL_WAYLAND_DISPLAY, TESSEL_WAYLAND_RUNTIME_DIR and
# TESSEL_WAYLAND_USER, which tests/e2e/wayland/as-session-user turns into a session for the
# command it runs; WAYLAND_DISPLAY itself stays unset, so the X11 tests keep choosing X11.
# sway refuses to run as root: as root, it runs as $wayland_test_user (created once), which can
# read the build tree. Stopped when the script exits.
start_wayland_desktop() {
    if ! command -v sway >/dev/null; then
        echo "start_wayland_desktop: sway is not installed (scripts/setup)" >&2
        return 1
    fi
    local user runtime
    user="$(wayland_session_user)"
    runtime="$(wayland_runtime_dir wayland "$user")"
    temp_dirs+=("$runtime")
    export TESSEL_WAYLAND_RUNTIME_DIR="$runtime" TESSEL_WAYLAND_USER="$user"
    unset TESSEL_WAYLAND_DISPLAY
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        "$repo/tests/e2e/wayland/as-session-user" \
        sway --config "$repo/tests/e2e/wayland/sway.config" >"$runtime/sway.log" 2>&1 &
    stop_on_exit "$!"
    local socket=""
    for _ in $(seq 100); do
        socket="$(cd "$runtime" && ls wayland-[0-9] 2>/dev/null | head -n1 || true)"
        [[ -n "$socket" ]] && break
        sleep 0.1
    done
    if [[ -z "$socket" ]]; then
        echo "start_wayland_desktop: sway did not start; its log:" >&2
        cat "$runtime/sway.log" >&2
        return 1
    fi
    export TESSEL_WAYLAND_DISPLAY="$socket"
}

# start_session_desktop <kind> <name> <session script> <tools...>: starts a headless desktop
# session through its script, as the same user as sway, and waits for the script to write the
# session's addresses (session.env in its runtime dir). Exports TESSEL_<KIND>_RUNTIME_DIR and
# TESSEL_<KIND>_USER; `as-session-user --<kind>` runs a command in that session. Stopped when the
# script exits.
start_session_desktop() {
    local kind="$1" name="$2" script="$3" tool
    shift 3
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null; then
            echo "start_${kind}_desktop: $tool is not installed (scripts/setup)" >&2
            return 1
        fi
    done
    local user runtime upper="${kind^^}"
    user="$(wayland_session_user)"
    runtime="$(wayland_runtime_dir "$kind" "$user")"
    temp_dirs+=("$runtime")
    export "TESSEL_${upper}_RUNTIME_DIR=$runtime" "TESSEL_${upper}_USER=$user"
    "$repo/tests/e2e/wayland/as-session-user" "--$kind" "$repo/$script" >"$runtime/$name.log" 2>&1 &
    stop_on_exit "$!"
    for _ in $(seq 150); do
        [[ -e "$runtime/session.env" ]] && return 0
        sleep 0.1
    done
    echo "start_${kind}_desktop: $name did not start; its log:" >&2
    cat "$runtime/$name.log" >&2
    return 1
}

# GNOME's compositor headless: mutter with XWayland, one virtual monitor, a session bus of its
# own (tests/e2e/gnome/mutter-session). Its commands get WAYLAND_DISPLAY, DISPLAY of its XWayland,
# XAUTHORITY and DBUS_SESSION_BUS_ADDRESS.
start_gnome_desktop() {
    start_session_desktop gnome mutter tests/e2e/gnome/mutter-session mutter Xwayland dbus-daemon
}

# KDE Plasma's compositor headless: KWin with kglobalaccel, one virtual output, a session bus of
# its own (tests/e2e/kde/kwin-session). Its clients' desktop entries (which grant KWin's fake
# input) are read from that user's ~/.local/share/applications, which the tests write. Its
# commands get WAYLAND_DISPLAY, DBUS_SESSION_BUS_ADDRESS and XDG_CURRENT_DESKTOP.
start_kde_desktop() {
    start_session_desktop kde kwin tests/e2e/kde/kwin-session kwin_wayland dbus-daemon
}

# All that the tests' environment holds from outside: the tests never see the caller's variables
# (a DBUS_SESSION_BUS_ADDRESS, a QT_* or XDG_* setting, a locale), so they cannot pass because of
# them. scripts/test adds its own home, runtime directory and desktops.
scrubbed_environment=(
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
    LANG=C.UTF-8
    USER="$(id -un)"
    LOGNAME="$(id -un)"
)

# test_fresh_clone <ref> [ctest arguments]: clones <ref> of this repository into a new temporary
# folder and runs its scripts/test there with a home of its own, the scrubbed environment and no
# ccache, as a new user's first run would. Exits with the tests' status; the folder is removed
# when they pass and kept for a look when they fail.
test_fresh_clone() {
    local ref="$1"
    shift
    local commit dir status=0
    commit="$(git -C "$repo" rev-parse --verify --quiet "$ref^{commit}")" ||
        { echo "scripts/test --fresh: no commit $ref" >&2; exit 2; }
    dir="$(mktemp -d /tmp/tessel-fresh.XXXXXX)"
    # The Wayland tests' unprivileged account reads the build tree inside.
    chmod 0755 "$dir"
    git clone --quiet --no-checkout "$repo" "$dir/tessel"
    git -C "$dir/tessel" checkout --quiet --detach "$commit"
    mkdir -m 0700 "$dir/home"
    echo "scripts/test --fresh: $ref at $(git -C "$dir/tessel" log -1 --format='%h %s') in $dir/tessel"
    env -i "${scrubbed_environment[@]}" HOME="$dir/home" CCACHE_DISABLE=1 \
        "$dir/tessel/scripts/test" "$@" || status=$?
    if ((status == 0)); then
        rm -rf "$dir"
    else
        echo "scripts/test --fresh: failed with status $status; the clone stays in $dir" >&2
    fi
    exit "$status"
}
