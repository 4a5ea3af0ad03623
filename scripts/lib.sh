# Shared by scripts/run and scripts/test.
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc 2>/dev/null || echo 2)"

# build_preset <preset> [target...]
build_preset() {
    local preset="$1"
    shift
    local targets=()
    (($# > 0)) && targets=(--target "$@")
    cmake --preset "$preset" -S "$repo" >/dev/null
    cmake --build --preset "$preset" -j "$jobs" "${targets[@]}"
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
    trap 'kill $wm_pid $xvfb_pid 2>/dev/null || true' EXIT
    sleep 0.5
}
