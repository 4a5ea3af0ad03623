# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Rows of scripts/reliability for clipboard owners that misbehave: each runs against one real
# Tessel, then checks that the history on disk was left alone, that the shortcut still opened
# the popup while the owner misbehaved, and that the next good copy was saved.
# Sourced by scripts/reliability, whose helpers (row, start, stop, registry, texts, wait_for) and
# variables (work, bin, tessel_pid, owner_pid) it uses.

owner_bin="$repo/build/asan/tests/tools/clipboard_owner"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

popup_visible() {
    local window
    for window in $(xdotool search --onlyvisible --class tessel 2>/dev/null); do
        xdotool getwindowgeometry "$window" 2>/dev/null | grep -q 'Geometry: 330x450' && return 0
    done
    return 1
}

# Presses the history shortcut, prints the milliseconds until the popup is mapped ("never"
# after 10 s), then closes it with Escape.
popup_ms() {
    local start shown=never
    start=$(now_ms)
    xdotool key super+shift+v
    for _ in $(seq 500); do
        if popup_visible; then
            shown=$(($(now_ms) - start))
            break
        fi
    done
    sleep 0.2 # the popup takes the keyboard once it is mapped
    xdotool key Escape
    for _ in $(seq 100); do popup_visible || break; sleep 0.05; done
    echo "$shown"
}

first_text() { texts "$(registry "$home")" 2>/dev/null | head -1; }

# Copies <text> with xclip and prints the milliseconds until it heads the saved history
# ("never" after 10 s).
good_copy_ms() {
    local start
    start=$(now_ms)
    printf '%s' "$1" | xclip -selection clipboard -i >/dev/null 2>&1
    for _ in $(seq 200); do
        [[ "$(first_text)" == "$1" ]] && { echo $(($(now_ms) - start)); return; }
        sleep 0.05
    done
    echo never
}

# start_owner <args...>: runs clipboard_owner and waits until it owns the clipboard.
start_owner() {
    "$owner_bin" "$@" >"$work/owner.log" 2>&1 &
    owner_pid=$!
    wait_for 15 grep -q '^owned' "$work/owner.log"
}
stop_owner() {
    kill "$owner_pid" 2>/dev/null || true
    wait "$owner_pid" 2>/dev/null || true
    owner_pid=""
}

# Remembers the saved history before an owner acts, so that judge can compare.
remember() {
    sha256sum <"$(registry "$home")" >"$work/before.sum"
    texts "$(registry "$home")" >"$work/before.txt"
}

# judge <case> <what the owner offered> <expected "recorded"|"ignored"> <popup ms> [extra]:
# after the owner is gone, compares the history with the one remembered, makes a good copy
# and writes the row.
judge() {
    local what="$1" text="$2" expect="$3" popup="$4" extra="${5:-}"
    local history missing good lost
    if sha256sum <"$(registry "$home")" | cmp -s - "$work/before.sum"; then
        history="history file unchanged"
    elif [[ "$(first_text)" == "$text" ]]; then
        history="its text recorded as a new entry"
    else
        history="HISTORY CHANGED"
    fi
    [[ $expect == recorded && $history == "history file unchanged" ]] && history="ITS TEXT NOT RECORDED"
    [[ $expect == ignored && $history != "history file unchanged" ]] && history="RECORDED: $history"
    good=$(good_copy_ms "good copy after: $what")
    missing=$(texts "$(registry "$home")" | grep -Fxvf - "$work/before.txt" | wc -l || true)
    ((missing == 0)) && lost="nothing" || lost="$missing SAVED ENTRIES"
    row "$what" "$history; popup shown ${popup} ms after the shortcut${extra}; next good copy saved in ${good} ms" "$lost"
}

# owner_row <case> <expected> <clipboard_owner args...>: the owner takes the clipboard, the
# shortcut is pressed while Tessel is reading from it, and the owner is stopped past the
# reader's timeout.
owner_row() {
    local what="$1" expect="$2" text="hostile owner: $1" popup
    shift 2
    remember
    if ! start_owner "$@" --text "$text"; then
        stop_owner
        row "$what" "not run: clipboard_owner never took the clipboard" "-"
        return
    fi
    sleep 0.15 # Tessel is now inside its conversion with the owner
    popup=$(popup_ms)
    sleep 2.5 # past the reader's timeout for each transfer
    stop_owner
    judge "$what" "$text" "$expect" "$popup"
}

retake_row() {
    local what="Owner that re-takes the clipboard every second for 10 s (and never sends its text)"
    local text="hostile owner: retakes" popups=()
    remember
    if ! start_owner --retake 1000 --stall --exit-after 10000 --text "$text"; then
        stop_owner
        row "$what" "not run: clipboard_owner never took the clipboard" "-"
        return
    fi
    for _ in 1 2 3 4; do
        sleep 1.3
        popups+=("$(popup_ms)")
    done
    wait "$owner_pid" 2>/dev/null || true
    owner_pid=""
    judge "$what" "$text" ignored "$(
        IFS=/
        echo "${popups[*]}"
    )" " (four presses during the 10 s)"
}

rss_mb() { awk -v key="$1:" '$1 == key { print int($2 / 1024) }' "/proc/$tessel_pid/status"; }

huge_text_row() {
    local what="200 MB text copied with xclip (above the 10 MiB limit)" before popup after peak
    remember
    before=$(rss_mb VmRSS)
    { yes 'two hundred megabytes of text, line after line' || true; } | head -c 200M |
        xclip -selection clipboard -i >/dev/null 2>&1
    sleep 3 # xclip sends it by INCR; Tessel gives up once 10 MiB have arrived
    popup=$(popup_ms)
    after=$(rss_mb VmRSS)
    peak=$(rss_mb VmHWM)
    judge "$what" "" ignored "$popup" \
        "; resident memory ${before} MB before, ${after} MB after (peak of the whole run ${peak} MB; ASan build)"
}

password_manager_row() {
    local what="Password manager (window class KeePassXC) copies, its window closes 20 ms later"
    local text="hostile owner: password"
    remember
    if ! start_owner --class KeePassXC --leave-after 20 --text "$text"; then
        stop_owner
        row "$what" "not run: clipboard_owner's window never became active" "-"
        return
    fi
    sleep 1.5
    local popup
    popup=$(popup_ms)
    stop_owner
    judge "$what" "$text" ignored "$popup"
}

owner_rows() {
    echo "== clipboard owners"
    local tool
    for tool in xclip xdotool "$owner_bin"; do
        if ! command -v "$tool" >/dev/null; then
            row "Clipboard owners that misbehave" "not run: $(basename "$tool") is missing" "-"
            return 0
        fi
    done
    home="$work/owners"
    mkdir -p "$home"
    start "$home"
    wait_for 10 bash -c 'printf warm-up | xclip -selection clipboard -i; sleep 0.5; test -s "$0"' \
        "$(registry "$home")" || true
    if [[ ! -s "$(registry "$home")" ]]; then
        stop
        row "Clipboard owners that misbehave" "not run: Tessel recorded no copy at all" "-"
        return 0
    fi
    local popup
    popup=$(popup_ms)
    row "For comparison: nothing hostile (the last copy made with xclip)" \
        "popup shown ${popup} ms after the shortcut; next good copy saved in $(good_copy_ms "a good copy") ms" "-"
    owner_row "Owner that lists text and an image and never sends either" ignored --stall --image
    owner_row "Owner offering 100,000 targets (it does send its text)" recorded --targets 100000
    owner_row "Owner sending its text by INCR, 1 byte every 300 ms" ignored \
        --incr-chunk 1 --incr-delay 300
    owner_row "Owner announcing 2 GiB by INCR" ignored --announce 2147483648
    retake_row
    huge_text_row
    password_manager_row
    stop
}
