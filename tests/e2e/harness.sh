# The end-to-end harness: a scratch folder, background processes that are always ended, Xvfb with
# a window manager, a program folder on a test disc, and the program's windows under the mouse.
# Source it after `set -euo pipefail` as SCRIPT CORVANTA MKDISC [BAND], then call begin_work.
# shellcheck shell=bash

[ $# -ge 2 ] || { echo "usage: $0 CORVANTA MKDISC [BAND]" >&2 && exit 2; }
corvanta=$(realpath "$1") mkdisc=$(realpath "$2")
band=${3:+$(realpath "$3")}

say() { echo "e2e: $*"; }
die() { echo "e2e: FAIL: $*" >&2 && exit 1; }
skip() { echo "e2e: SKIP: $*" && exit 77; } # CTest counts the status 77 as skipped
require_tools() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || die "$tool is missing (scripts/install-deps test)"
    done
}

work='' app_pid='' e2e_pids=() e2e_undo=()
track_process() { e2e_pids+=("$1"); }
undo_at_exit() { e2e_undo+=("$1"); } # for what a test changes outside $work
stop_process() {
    kill "$1" 2>/dev/null || true
    timeout 5 tail --pid="$1" -f /dev/null || kill -9 "$1" 2>/dev/null || true
}
cleanup() {
    local rc=$? i
    for i in "${e2e_undo[@]}"; do eval "$i" || true; done
    for ((i = ${#e2e_pids[@]} - 1; i >= 0; i--)); do stop_process "${e2e_pids[i]}"; done
    [ "$rc" -eq 0 ] || [ "$rc" -eq 77 ] || tail -n 20 "$work"/*.log 2>/dev/null || true
    rm -rf "$work"
    exit "$rc"
}

# $work holds everything the program and its helpers touch. A bus address that leads nowhere
# keeps libdbus from starting a daemon nobody would stop.
begin_work() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/corvanta-e2e.XXXXXX")
    trap cleanup EXIT
    trap 'exit 130' INT TERM
    export HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/run/no-bus"
    mkdir -p "$HOME/.config" && mkdir -m 700 "$XDG_RUNTIME_DIR"
    unset PULSE_SERVER PULSE_SINK SDL_AUDIODRIVER
}

# Polls a command until it succeeds; the limit only bounds a hang.
wait_for() {
    local limit=$1 deadline=$((SECONDS + $1)) what=$2
    shift 2
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || die "gave up after $limit s waiting for $what"
        sleep 0.1
    done
}

# Xvfb on a free display, and openbox on it: every desktop has a window manager, and
# activation, focus and window titles come from it.
start_xvfb() {
    local fd
    require_tools Xvfb xdpyinfo openbox xprop xwininfo xdotool
    exec {fd}>"$work/display"
    Xvfb -displayfd "$fd" -nolisten tcp -noreset -screen 0 1024x768x24 >"$work/xvfb.log" 2>&1 &
    track_process $!
    exec {fd}>&-
    wait_for 20 "Xvfb" grep -q '^[0-9]' "$work/display"
    export DISPLAY=":$(head -n 1 "$work/display")"
    wait_for 20 "Xvfb to take clients" xdpyinfo
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    track_process $!
    wait_for 20 "openbox" sh -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"
}

# make_program_folder LENGTH_MS...: $work/disc.cue and .bin with one track per length, and a
# program folder whose drive D: is that image; $program is the copy of the program to run there.
make_program_folder() {
    "$mkdisc" "$work/disc.cue" "$@" || die "mkdisc failed"
    mkdir -p "$work/program/drives"
    cp "$corvanta" "$work/program/corvanta"
    ln -s "$work/disc.cue" "$work/program/drives/d:"
    program="$work/program/corvanta"
}

# start_program NAME=VALUE...: runs $program with that environment added.
start_program() {
    env "$@" "$program" >"$work/corvanta.log" 2>&1 &
    app_pid=$!
    track_process "$app_pid"
}

# $win: the window named by the regex $1.
find_window() {
    wait_for 30 "a window named $1" xdotool search --onlyvisible --name "$1"
    win=$(xdotool search --onlyvisible --name "$1" | head -n 1)
}
click_at() { xdotool mousemove --window "$win" "$1" "$2" click 1; }
# Where the window's buttons are, in client coordinates.
# shellcheck disable=SC2034 # the scripts that source this use them
readonly open_x=28 open_y=20 settings_x=88 settings_y=20 play_x=365 play_y=19 stop_x=392 \
    stop_y=19 list_x=464 list_y=18

# Opens the lyrics file $1 through 開く, typing its path; without $1, cancels the dialog.
open_lyrics() {
    click_at "$open_x" "$open_y"
    wait_for 30 "the file dialog" xdotool search --onlyvisible --name '^開く$'
    if [ $# -gt 0 ]; then
        xdotool type --delay 20 "$1"
        xdotool key Return
    else
        xdotool key Escape
    fi
    wait_for 15 "the file dialog to close" sh -c '! xdotool search --onlyvisible --name "^開く$"'
}
