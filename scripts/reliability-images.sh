# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Rows of scripts/reliability for huge images: 8000 x 8000 pictures of a few hundred kilobytes in
# the history, the first popup that shows them, and choosing them and pasting them. The worst
# freeze is the slowest answer, among calls made every 50 ms, to a D-Bus call that Tessel's main
# thread answers (introspection of its remote-control object): a decode or conversion on that
# thread holds the answer up.
# Sourced by scripts/reliability, whose helpers (row, start, stop, registry, count, wait_for,
# popup_visible, rss_mb) and variables (work, tessel_pid) it uses.

probe_pid=""
bus_pid=""

# freeze_probe_start <file>: keeps the slowest answer so far, in ms, in <file>.
freeze_probe_start() {
    echo 0 >"$1"
    (
        worst=0
        while :; do
            start_ns=$(date +%s%N)
            dbus-send --session --print-reply --reply-timeout=60000 \
                --dest=org.tessel_clipboard.Tessel /org/tessel_clipboard/Tessel \
                org.freedesktop.DBus.Introspectable.Introspect >/dev/null 2>&1 || true
            took=$((($(date +%s%N) - start_ns) / 1000000))
            if ((took > worst)); then
                worst=$took
                echo "$worst" >"$1"
            fi
            sleep 0.05
        done
    ) &
    probe_pid=$!
}
freeze_probe_stop() {
    kill "$probe_pid" 2>/dev/null || true
    wait "$probe_pid" 2>/dev/null || true
    probe_pid=""
}

# big_png <file> <side> <seed>: a <side> x <side> PNG of horizontal bands, which compresses to a
# few hundred kilobytes.
big_png() {
    python3 - "$@" <<'PY'
import struct, sys, zlib
path, side, seed = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
z = zlib.compressobj(9)
out = []
for y in range(side):
    band = (y * 7 // side + seed) % 7
    colour = bytes(((band * 40 + seed * 23) % 256, (band * 90) % 256, (255 - band * 30) % 256))
    out.append(z.compress(b"\0" + colour * side))
out.append(z.flush())
open(path, "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 2, 0, 0, 0))
                       + chunk(b"IDAT", b"".join(out)) + chunk(b"IEND", b""))
PY
}

# Presses the history shortcut and prints the ms until the popup is mapped; leaves it open.
open_popup_ms() {
    local start shown=never
    start=$(($(date +%s%N) / 1000000))
    xdotool key super+shift+v
    for _ in $(seq 500); do
        if popup_visible; then
            shown=$(($(date +%s%N) / 1000000 - start))
            break
        fi
    done
    sleep 0.3 # the popup takes the keyboard once it is mapped
    echo "$shown"
}

# Reads the clipboard as <target> into <file>; prints the ms it took.
paste_ms() {
    local start
    start=$(($(date +%s%N) / 1000000))
    timeout 60 xclip -selection clipboard -o -t "$1" >"$2" 2>/dev/null || true
    echo $(($(date +%s%N) / 1000000 - start))
}

image_rows() {
    echo "== huge images"
    local tool
    for tool in dbus-daemon dbus-send xclip xdotool convert; do
        if ! command -v "$tool" >/dev/null; then
            row "Huge images" "not run: $tool is missing" "-"
            return 0
        fi
    done
    local dir="$work/huge" bus
    mkdir -p "$dir"
    for i in $(seq 10); do big_png "$dir/big$i.png" 8000 "$i"; done
    big_png "$dir/medium.png" 4096 11
    convert "$dir/big1.png" -compress zip "$dir/big.tif"
    bus="$(dbus-daemon --session --fork --print-address=1 --print-pid=1)"
    export DBUS_SESSION_BUS_ADDRESS="${bus%%$'\n'*}"
    bus_pid="${bus##*$'\n'}"
    home="$work/huge-home"
    mkdir -p "$home"
    start "$home"
    local f
    for f in "$dir/medium.png" "$dir"/big{1..10}.png; do
        xclip -selection clipboard -t image/png -i "$f" >/dev/null 2>&1
        sleep 0.7
    done
    xclip -selection clipboard -t image/tiff -i "$dir/big.tif" >/dev/null 2>&1
    sleep 0.7
    copy "after the huge images"
    wait_for 20 has "$(registry "$home")" 13 || true
    local saved
    saved=$(count "$(registry "$home")")
    stop

    # The first popup of a new process: nothing decoded yet.
    start "$home"
    wait_for 10 dbus-send --session --print-reply --dest=org.tessel_clipboard.Tessel \
        /org/tessel_clipboard/Tessel org.freedesktop.DBus.Introspectable.Introspect >/dev/null 2>&1 || true
    freeze_probe_start "$work/freeze-open"
    local shown
    shown=$(open_popup_ms)
    sleep 1
    for _ in $(seq 14); do xdotool key Down; sleep 0.3; done
    sleep 2
    xdotool key Escape
    sleep 1
    freeze_probe_stop
    local open_freeze memory_closed
    open_freeze=$(cat "$work/freeze-open")
    memory_closed=$(rss_mb VmRSS)
    row "History with ten 8000 x 8000 PNGs, a 4096 x 4096 PNG and an 8000 x 8000 TIFF ($(du -ch "$dir"/big*.png | tail -1 | cut -f1) of PNG): the first popup after a restart, scrolled through" \
        "popup shown ${shown} ms after the shortcut; worst freeze ${open_freeze} ms while it decoded the thumbnails; resident memory ${memory_closed} MB after closing (ASan build); $(kill -0 "$tessel_pid" 2>/dev/null && echo "no crash" || echo "CRASHED")" \
        "$( ((saved == 13)) && echo nothing || echo "$((13 - saved)) OF 13 ENTRIES NOT SAVED")"

    # Rows, newest first: the text, the TIFF, the ten 8000 x 8000 PNGs, the 4096 x 4096 PNG. A
    # chosen entry moves to the top. Choosing the newest 8000 x 8000 PNG (third row), then the TIFF
    # (third again), then the 4096 x 4096 PNG (still last, the thirteenth).
    freeze_probe_start "$work/freeze-choose"
    local before_choice png_ms png_same tiff_offered tiff_ms tiff_same medium_ms medium_tiff after
    before_choice=$(rss_mb VmRSS)
    open_popup_ms >/dev/null
    xdotool key Down Down Return
    sleep 1
    png_ms=$(paste_ms image/png "$work/pasted.png")
    cmp -s "$work/pasted.png" "$dir/big10.png" && png_same="the same bytes" || png_same="DIFFERENT BYTES"
    xclip -selection clipboard -o -t TARGETS 2>/dev/null | grep -q image/tiff &&
        tiff_offered="also offered as TIFF" || tiff_offered="not offered as TIFF (above 16 Mpx)"
    open_popup_ms >/dev/null
    xdotool key Down Down Return
    sleep 1
    tiff_ms=$(paste_ms image/tiff "$work/pasted.tif")
    cmp -s "$work/pasted.tif" "$dir/big.tif" && tiff_same="the same bytes" || tiff_same="DIFFERENT BYTES"
    open_popup_ms >/dev/null
    # shellcheck disable=SC2046
    xdotool key $(printf 'Down %.0s' $(seq 12)) Return
    sleep 1
    medium_ms=$(paste_ms image/tiff "$work/medium.tif")
    medium_tiff=$(identify -format '%wx%h' "$work/medium.tif" 2>/dev/null || echo "NO TIFF")
    sleep 1
    after=$(rss_mb VmRSS)
    freeze_probe_stop
    local choose_freeze alive
    choose_freeze=$(cat "$work/freeze-choose")
    kill -0 "$tessel_pid" 2>/dev/null && alive="no crash" || alive="CRASHED"
    stop
    row "Choosing the 8000 x 8000 PNG, then the TIFF, then the 4096 x 4096 PNG, each pasted by another client (xclip)" \
        "PNG pasted in ${png_ms} ms, ${png_same}, ${tiff_offered}; TIFF pasted in ${tiff_ms} ms, ${tiff_same}; 4096 x 4096 PNG pasted as TIFF (made on request) in ${medium_ms} ms: ${medium_tiff}; worst freeze ${choose_freeze} ms; resident memory ${before_choice} MB before choosing, ${after} MB while the clipboard is Tessel's (ASan build); ${alive}" \
        "nothing ($(count "$(registry "$home")") of 13 entries)"
    kill "$bus_pid" 2>/dev/null || true
    bus_pid=""
    unset DBUS_SESSION_BUS_ADDRESS
}
