# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Rows of scripts/reliability for what a hostile user, web page or session does to Tessel's own
# limits: texts that are costly to show, settings and registries it must not read wrongly, a
# display that dies, a compositor flooded with types, a session bus that never answers, calls by
# the thousand. Each row says what was tried, what was lost, whether Tessel crashed, and the
# worst freeze: the longest Tessel's main thread took to answer a D-Bus ping sent every 50 ms
# (or, where no bus can reach it, the time named in the row).
# Sourced by scripts/reliability, whose helpers (start, stop, registry, count, texts, wait_for,
# popup_ms, rss_mb) and variables (work, bin, repo, tessel_pid) it uses.

limit_rows=()
limit_row() {
    limit_rows+=("| $1 | $2 | $3 | $4 | $5 |")
    echo "  $1: $2 / lost: $3 / crashed: $4 / worst freeze: $5"
}

app_id=org.tessel_clipboard.Tessel
app_path=/org/tessel_clipboard/Tessel
bus_pid=""
probe_pid=""

# A private session bus, so that Tessel's main thread can be pinged.
start_bus() {
    local out
    out=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
    DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$out")
    bus_pid=$(sed -n 2p <<<"$out")
    export DBUS_SESSION_BUS_ADDRESS
    extra_pids+=("$bus_pid")
}

# Pings Tessel's main thread every 50 ms into <file>, one answer time in ms per line.
probe_start() {
    : >"$1"
    (
        while :; do
            t0=$(date +%s%N)
            if dbus-send --session --print-reply --reply-timeout=120000 --dest="$app_id" \
                "$app_path" org.freedesktop.DBus.Introspectable.Introspect >/dev/null 2>&1; then
                echo $((($(date +%s%N) - t0) / 1000000))
            fi
            sleep 0.05
        done
    ) >>"$1" 2>/dev/null &
    probe_pid=$!
}
# Stops the pings and prints the slowest answer ("-" without any).
probe_stop() {
    kill "$probe_pid" 2>/dev/null || true
    wait "$probe_pid" 2>/dev/null || true
    probe_pid=""
    local worst
    worst=$(sort -n "$1" | tail -1)
    echo "${worst:--} ms"
}

# Stops Tessel with SIGTERM and sets `crashed` to how it ended: "no" for a clean exit, else what
# happened. Not in a subshell: only this shell can wait for Tessel.
stop_checked() {
    local status=0
    if ! kill -0 "$tessel_pid" 2>/dev/null; then
        wait "$tessel_pid" 2>/dev/null || status=$?
        tessel_pid=""
        crashed="YES: it had ended (status $status)"
        return
    fi
    kill -TERM "$tessel_pid" 2>/dev/null || true
    wait "$tessel_pid" 2>/dev/null || status=$?
    tessel_pid=""
    if ((status == 0)); then crashed=no; else crashed="YES: status $status at SIGTERM"; fi
}

# Waits until Tessel answers on the bus (at most 20 s).
wait_answering() {
    wait_for 20 dbus-send --session --print-reply --dest="$app_id" "$app_path" \
        org.freedesktop.DBus.Introspectable.Introspect >/dev/null 2>&1
}

entries_of() { count "$(registry "$1")"; }
first_length() {
    python3 -c 'import json,sys; r=json.load(open(sys.argv[1])); print(len(r[0].get("text","")) if r else 0)' \
        "$1" 2>/dev/null || echo 0
}

marks_row() {
    local what="One letter under 3,000,000 combining marks (6 MB, as a web page can copy): popup opened, Tessel restarted with it saved, popup opened again"
    home="$work/marks"
    mkdir -p "$home"
    start "$home"
    wait_answering || true
    probe_start "$work/marks.probe"
    python3 -c 'import sys; sys.stdout.write("Z" + "\u0301" * 3000000)' |
        xclip -selection clipboard -i >/dev/null 2>&1
    wait_for 30 test "$(first_length "$(registry "$home")")" -gt 1000000 || true
    local first second crashed
    first=$(popup_ms)
    stop_checked
    start "$home"
    wait_answering || true
    second=$(popup_ms)
    if [[ $crashed == no ]]; then stop_checked; else stop; fi
    local freeze
    freeze=$(probe_stop "$work/marks.probe")
    local kept="the text"
    [[ $(entries_of "$home") == 1 ]] && kept="nothing" || kept="THE TEXT ($(entries_of "$home") entries on disk)"
    limit_row "$what" "popup shown ${first} ms after the shortcut, ${second} ms after the restart" \
        "$kept" "$crashed" "$freeze"
}

large_texts_row() {
    local what="Twenty texts of 9 MB copied with xclip, popup opened and searched, Tessel restarted"
    home="$work/large"
    mkdir -p "$home"
    start "$home"
    wait_answering || true
    probe_start "$work/large.probe"
    local i
    for i in $(seq 20); do
        python3 - "$i" <<'EOF' | xclip -selection clipboard -i >/dev/null 2>&1
import random, sys
random.seed(int(sys.argv[1]))
words, size = [], 0
while size < 9_000_000:
    w = "".join(random.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(random.randint(2, 9)))
    words.append(w)
    size += len(w) + 1
sys.stdout.write(" ".join(words))
EOF
        wait_for 30 test "$(entries_of "$home")" = "$i" || true
    done
    local copied popup after peak crashed second
    copied=$(entries_of "$home")
    after=$(rss_mb VmRSS)
    popup=$(popup_ms)
    xdotool key super+shift+v
    sleep 0.5
    xdotool type --delay 150 "qzx wvu"
    sleep 0.5
    xdotool key Escape
    peak=$(rss_mb VmHWM)
    stop_checked
    start "$home"
    wait_answering || true
    second=$(popup_ms)
    if [[ $crashed == no ]]; then stop_checked; else stop; fi
    local freeze lost
    freeze=$(probe_stop "$work/large.probe")
    [[ $(entries_of "$home") == 20 && $copied == 20 ]] && lost=nothing || lost="$((20 - $(entries_of "$home"))) OF 20"
    limit_row "$what" "popup shown ${popup} ms after the shortcut, ${second} ms after the restart; seven search keystrokes; resident memory ${after} MB with the twenty texts, peak ${peak} MB (ASan build)" \
        "$lost" "$crashed" "$freeze"
}

# A registry of 10,020 entries, 20 of them pinned and 20 images with their files.
history_with_images() {
    mkdir -p "$1/data/tessel/images"
    python3 - "$1/data/tessel" <<'EOF'
import hashlib, json, struct, sys, zlib
folder = sys.argv[1]
def png(seed):
    raw = b"".join(b"\0" + bytes([seed, 255 - seed, 128]) * 8 for _ in range(8))
    chunk = lambda t, d: struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 8, 8, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))
records = []
for i in range(10020):
    record = {"mimetype": "public.utf8-plain-text", "favorite": i % 501 == 7, "timestamp": 1.7e9 - i}
    if i % 500 == 250:
        data = png(i % 256)
        name = hashlib.sha256(data).hexdigest() + ".png"
        open(folder + "/images/" + name, "wb").write(data)
        record.update(mimetype="public.png", imageFile=name)
    else:
        record["text"] = "history entry %d, long enough to look like something copied" % i
    records.append(record)
json.dump(records, open(folder + "/registry.json", "w"), indent=2)
EOF
}

unchosen_limit_rows() {
    local name setting
    for name in "no settings file" "the settings folder is a file" 'the limit as text, "10000"' \
        "the limit as 10000.5" "the limit as 1e300" "the limit as 0" "the limit as -1"; do
        home="$work/limit-${#limit_rows[@]}"
        history_with_images "$home"
        mkdir -p "$home/config"
        case $name in
        *folder*) printf 'not a folder' >"$home/config/tessel" ;;
        *text*) setting='"10000"' ;;
        *10000.5) setting=10000.5 ;;
        *1e300) setting=1e300 ;;
        *" 0") setting=0 ;;
        *-1) setting=-1 ;;
        *) setting="" ;;
        esac
        if [[ $name == "the limit"* ]]; then
            mkdir -p "$home/config/tessel"
            echo "{\"maxHistoryItems\": $setting}" >"$home/config/tessel/settings.json"
        fi
        start "$home"
        wait_answering || true
        probe_start "$work/limit.probe"
        copy "one more copy"
        sleep 2.5
        local crashed freeze kept images
        stop_checked
        freeze=$(probe_stop "$work/limit.probe")
        kept=$(entries_of "$home")
        images=$(find "$home/data/tessel/images" -type f | wc -l)
        local lost="the oldest entry, as the limit of 10,000 the user had would"
        ((kept < 10020 || images < 20)) && lost="$((10021 - kept)) ENTRIES, $((20 - images)) IMAGE FILES"
        grep -q 'maxHistoryItems' "$home/log" && said=", said in the log" || said=""
        limit_row "10,020 entries (20 pinned, 20 images), $name, then one copy" \
            "$kept entries and $images image files kept${said}" "$lost" "$crashed" "$freeze"
    done
}

display_loss_row() {
    local saved=0 tries=8 statuses=() i n
    for i in $(seq $tries); do
        for n in $(seq 150 199); do
            [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || break
        done
        Xvfb ":$n" -nolisten tcp >/dev/null 2>&1 &
        local x=$!
        wait_for 10 test -e "/tmp/.X11-unix/X$n" || true
        home="$work/display-$i"
        mkdir -p "$home"
        DISPLAY=":$n" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" "$bin" \
            >>"$home/log" 2>&1 &
        tessel_pid=$!
        wait_for 20 test -e "$(registry "$home")" || true
        sleep 0.5
        printf 'copied as the display died %s' "$i" |
            DISPLAY=":$n" xclip -selection clipboard -i >/dev/null 2>&1
        sleep 0.15
        kill -9 "$x"
        wait "$x" 2>/dev/null || true
        local status=0
        wait "$tessel_pid" 2>/dev/null || status=$?
        tessel_pid=""
        statuses+=("$status")
        texts "$(registry "$home")" 2>/dev/null | grep -q "copied as the display died $i" &&
            saved=$((saved + 1))
    done
    limit_row "X server killed 150 ms after a copy (the save would come 0.4 s after it), $tries times" \
        "Tessel exited with status $(printf '%s\n' "${statuses[@]}" | sort -u | paste -sd/) as Qt ends it; the copy was on disk $saved of $tries times" \
        "$((tries - saved)) of $tries copies" "no (Qt ends the process; Tessel saves first)" "-"
}

copy_stream_row() {
    home="$work/stream"
    mkdir -p "$home"
    start "$home"
    wait_answering || true
    probe_start "$work/stream.probe"
    local made=0 start_ms deadline
    start_ms=$(now_ms)
    deadline=$((start_ms + 15000))
    while (($(now_ms) < deadline)); do
        printf 'stream copy %s' "$made" | xclip -selection clipboard -i >/dev/null 2>&1
        made=$((made + 1))
        sleep "0.$((RANDOM % 3 + 1))"
    done
    local freeze
    freeze=$(probe_stop "$work/stream.probe")
    kill -9 "$tessel_pid"
    wait "$tessel_pid" 2>/dev/null || true
    tessel_pid=""
    local on_disk
    on_disk=$(texts "$(registry "$home")" 2>/dev/null | grep -c '^stream copy' || true)
    limit_row "A copy every 100-300 ms for 15 s, then kill -9" \
        "$made copies made, $on_disk on disk at the kill (saves come at most 2 s after the first unsaved change)" \
        "the $((made - on_disk)) copies of the last moments (never saved)" "no (killed)" "$freeze"
}

registry_budget_row() {
    home="$work/budget"
    mkdir -p "$home"
    start "$home"
    wait_answering || true
    probe_start "$work/budget.probe"
    local c i=0
    for c in 01 02 03 04 05 06 07 08 0e 0f; do
        i=$((i + 1))
        python3 -c "import sys; sys.stdout.write(chr(0x$c) * (10 * 1024 * 1024 - 16))" |
            xclip -selection clipboard -i >/dev/null 2>&1
        # Each escapes to 60 MiB: the registry grows until eight of them fill it.
        wait_for 120 test "$(($(stat -c %s "$(registry "$home")" 2>/dev/null || echo 0) / 1048576))" \
            -ge $((i > 8 ? 8 * 59 : i * 59)) || true
    done
    sleep 5
    local peak size crashed freeze loaded
    peak=$(rss_mb VmHWM)
    stop_checked
    size=$(($(stat -c %s "$(registry "$home")") / 1048576))
    start "$home"
    wait_answering || true
    loaded=$(grep -c 'starting with an empty history' "$home/log" || true)
    if [[ $crashed == no ]]; then stop_checked; else stop; fi
    freeze=$(probe_stop "$work/budget.probe")
    local kept gave
    kept=$(entries_of "$home")
    gave=$(grep -c 'gave way' "$home/log" || true)
    limit_row "Ten texts of 10 MiB of control characters (each escapes to 60 MiB of JSON)" \
        "registry ${size} MiB (read limit 512 MiB), read back at the next start with $kept entries$([[ $loaded != 0 ]] && echo ', BUT SET ASIDE'); said $gave time(s) in the log; peak resident memory ${peak} MB (ASan build)" \
        "the $((10 - kept)) oldest, which gave way to stay readable" "$crashed" "$freeze"
}

hang_rows() {
    local sock="$work/stalled"
    mkdir -p "$sock"
    python3 - "$sock" <<'EOF' &
import os, socket, sys, time
servers = []
for name in ("bus", "wayland-stalled"):
    s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    s.bind(os.path.join(sys.argv[1], name))
    s.listen(64)
    servers.append(s)
time.sleep(600)
EOF
    local stall_pid=$!
    extra_pids+=("$stall_pid")
    wait_for 5 test -S "$sock/bus" || true
    local t0 status=0 said
    t0=$(now_ms)
    said=$(DBUS_SESSION_BUS_ADDRESS="unix:path=$sock/bus" timeout 120 "$bin" --toggle 2>&1) || status=$?
    limit_row "tessel --toggle with a session bus that lets clients in and never answers" \
        "exit $status after $(($(now_ms) - t0)) ms: \"${said:0:90}...\"" "-" "no" "-"

    home="$work/stalled-bus"
    mkdir -p "$home"
    t0=$(now_ms)
    DBUS_SESSION_BUS_ADDRESS="unix:path=$sock/bus" XDG_DATA_HOME="$home/data" \
        XDG_CONFIG_HOME="$home/config" "$bin" >>"$home/log" 2>&1 &
    tessel_pid=$!
    wait_for 20 test -e "$(registry "$home")" || true
    local started=$(($(now_ms) - t0))
    local popup
    popup=$(popup_ms)
    copy "after a stalled bus"
    wait_for 5 test "$(entries_of "$home")" = 1 || true
    t0=$(now_ms)
    local crashed
    stop_checked
    limit_row "Tessel started with that session bus, a copy, SIGTERM" \
        "history saved ${started} ms after the start (under ASan); popup shown ${popup} ms after the shortcut; $(entries_of "$home") copy saved; ended $(($(now_ms) - t0)) ms after SIGTERM" \
        "nothing" "$crashed" "the bus probe's 1 s at start"

    home="$work/stalled-wayland"
    mkdir -p "$home"
    t0=$(now_ms)
    WAYLAND_DISPLAY="$sock/wayland-stalled" XDG_DATA_HOME="$home/data" \
        XDG_CONFIG_HOME="$home/config" "$bin" >>"$home/log" 2>&1 &
    tessel_pid=$!
    wait_for 20 test -e "$(registry "$home")" || true
    started=$(($(now_ms) - t0))
    copy "after a stalled compositor"
    wait_for 5 test "$(entries_of "$home")" = 1 || true
    stop_checked
    limit_row "A Wayland socket that lets clients in and never answers (DISPLAY set too)" \
        "started on X11; history saved ${started} ms after the start (under ASan); $(entries_of "$home") copy saved" \
        "nothing" "$crashed" "the compositor probe's 5 s at start"
    kill "$stall_pid" 2>/dev/null || true

    home="$work/fifo-lock"
    mkdir -p "$home/data/tessel"
    mkfifo "$home/data/tessel/tessel.lock"
    t0=$(now_ms)
    status=0
    said=$(XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" timeout 60 "$bin" 2>&1) ||
        status=$?
    limit_row "A FIFO in place of tessel.lock" \
        "exit $status after $(($(now_ms) - t0)) ms: \"$(grep -o 'Tessel cannot start.*' <<<"$said" | cut -c1-100)...\"" \
        "-" "no" "-"
}

no_display_rows() {
    local variant status said t0
    for variant in "neither DISPLAY nor WAYLAND_DISPLAY" "DISPLAY=:49, no X server there" \
        "WAYLAND_DISPLAY=wayland-none, a socket that does not exist"; do
        home="$work/nodisplay"
        mkdir -p "$home"
        status=0
        t0=$(now_ms)
        case $variant in
        neither*) said=$(env -u DISPLAY -u WAYLAND_DISPLAY XDG_DATA_HOME="$home/data" \
            XDG_CONFIG_HOME="$home/config" timeout 60 "$bin" 2>&1) || status=$? ;;
        DISPLAY*) said=$(env -u WAYLAND_DISPLAY DISPLAY=:49 XDG_DATA_HOME="$home/data" \
            XDG_CONFIG_HOME="$home/config" timeout 60 "$bin" 2>&1) || status=$? ;;
        *) said=$(env -u DISPLAY WAYLAND_DISPLAY=wayland-none XDG_DATA_HOME="$home/data" \
            XDG_CONFIG_HOME="$home/config" timeout 60 "$bin" 2>&1) || status=$? ;;
        esac
        limit_row "No display: $variant" \
            "exit $status after $(($(now_ms) - t0)) ms, $(grep -c . <<<"$said") line: \"$(head -1 <<<"$said" | cut -c1-110)\"" \
            "-" "$( ((status == 1)) && echo no || echo YES)" "-"
    done
}

# Runs test functions of the end-to-end programs that measure what a shell cannot: a flood of
# D-Bus calls, and a Wayland source with 10,000 types.
e2e_rows() {
    local out
    out=$(TESSEL_BINARY_DIR="$repo/build/asan" \
        "$repo/build/asan/tests/e2e/app/test_remote_control_e2e" aFloodOfCallsIsCoalesced 2>&1 || true)
    limit_row "20,000 Toggle calls over D-Bus at once (test_remote_control_e2e aFloodOfCallsIsCoalesced)" \
        "$(grep -o 'flood: .*' <<<"$out" | head -1 | cut -c8-); $(grep -q '^PASS.*aFlood' <<<"$out" && echo passed || echo FAILED)" \
        "-" "no" "-"
    if start_wayland_desktop >/dev/null 2>&1; then
        trap cleanup EXIT # start_wayland_desktop set its own
        out=$(QT_QPA_PLATFORM=offscreen TESSEL_BINARY_DIR="$repo/build/asan" \
            "$repo/tests/e2e/wayland/as-session-user" \
            "$repo/build/asan/tests/e2e/wayland/test_wayland_clipboard_e2e" \
            aFloodOfTypesDoesNotEndRecording 2>&1 || true)
        limit_row "Wayland (headless sway): a source offers 10,000 MIME types, then eight copies (test_wayland_clipboard_e2e aFloodOfTypesDoesNotEndRecording)" \
            "$(grep -o 'after the flood: .*' <<<"$out" | head -1 | cut -c18-); $(grep -q '^PASS.*aFlood' <<<"$out" && echo passed || echo FAILED)" \
            "$(grep -o '[0-9]* of 8 recorded' <<<"$out" | head -1 | awk '{print 8 - $1 " of 8 copies"}')" \
            "$(grep -q '^PASS.*aFlood' <<<"$out" && echo no || echo "see the test")" "-"
    else
        limit_row "Wayland: a source offers 10,000 MIME types" "not run: no headless sway" "-" "-" "-"
    fi
}

small_rows() {
    home="$work/null-record"
    mkdir -p "$home/data/tessel"
    python3 - "$(registry "$home")" <<'EOF'
import json, sys
records = [{"text": "entry %d" % i, "timestamp": 1.7e9 - i} for i in range(10000)]
records.insert(5000, None)
json.dump(records, open(sys.argv[1], "w"))
EOF
    start "$home"
    copy "after a null record"
    sleep 2.5
    local crashed mode
    mode=$(stat -c %a "$home/data/tessel/tessel.lock" 2>/dev/null || echo missing)
    stop_checked
    limit_row "One null record in a 10,000-entry registry" \
        "$(grep -c 'no entries; they were skipped' "$home/log" || true) line in the log; $(entries_of "$home") entries after a copy" \
        "the null record only" "$crashed" "-"
    limit_row "The lock file's mode (umask 022 here)" "tessel.lock is $mode" "-" "no" "-"

    local kind status said
    for kind in folder garbage; do
        home="$work/lock-$kind"
        mkdir -p "$home/data/tessel"
        if [[ $kind == folder ]]; then
            mkdir "$home/data/tessel/tessel.lock"
        else
            printf '\x01garbage' >"$home/data/tessel/tessel.lock"
            touch -d '1 minute ago' "$home/data/tessel/tessel.lock"
        fi
        status=0
        XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" timeout 8 "$bin" \
            >"$home/log" 2>&1 || status=$?
        said=$(grep -v '^Tessel: \[' "$home/log" | head -1 || true)
        if ((status == 124)); then
            said="taken over: Tessel ran until stopped 8 s later"
        else
            said="exit $status: \"${said:0:100}...\""
        fi
        limit_row "tessel.lock is a $([[ $kind == folder ]] && echo folder || echo 'damaged file left a minute ago')" \
            "$said" "-" "no" "-"
    done

    home="$work/platform-option"
    mkdir -p "$home"
    status=0
    XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" timeout 8 "$bin" -platform xcb \
        >"$home/log" 2>&1 || status=$?
    limit_row "tessel -platform xcb" \
        "$( ((status == 124)) && echo 'started on xcb (ran until stopped 8 s later)' || echo "EXIT $status: $(head -1 "$home/log")")" \
        "-" "no" "-"

    # Root writes through any mode, and an owner can always make a folder writable again: the
    # history folder belongs to root and Tessel runs as an ordinary user, as in a read-only home.
    if [[ $(id -u) == 0 ]]; then
        home="$work/readonly-home"
        history_with_images "$home"
        mkdir -p "$home/config"
        chown -R 65534:65534 "$home"
        chown -R 0:0 "$home/data/tessel"
        chmod 0755 "$home/data/tessel" "$home/data/tessel/images"
        chmod 0644 "$(registry "$home")"
        chmod 0711 "$work"
        local before
        before=$(sha256sum <"$(registry "$home")")
        setpriv --reuid=65534 --regid=65534 --clear-groups env -u XDG_RUNTIME_DIR \
            XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" "$bin" >>"$work/readonly.log" 2>&1 &
        tessel_pid=$!
        sleep 4
        local popup crashed
        popup=$(popup_ms)
        copy "kept in memory"
        stop_checked
        limit_row "History folder Tessel cannot write (another user's, as in a read-only home)" \
            "started with the 10,020 entries it could read: popup shown ${popup} ms after the shortcut; \"$(grep -o 'cannot save its history.*' "$work/readonly.log" | head -1 | cut -c1-70)...\"; registry $([[ $(sha256sum <"$(registry "$home")") == "$before" ]] && echo untouched || echo CHANGED)" \
            "the copy made while running (kept in memory only)" "$crashed" "-"
    else
        limit_row "History folder Tessel cannot write" "not run: needs root" "-" "-" "-"
    fi
}

limit_cases() {
    echo "== hostile texts, settings, registries and sessions"
    start_bus
    marks_row
    large_texts_row
    unchosen_limit_rows
    copy_stream_row
    registry_budget_row
    display_loss_row
    hang_rows
    no_display_rows
    small_rows
    e2e_rows
}
