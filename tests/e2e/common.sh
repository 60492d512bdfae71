# Shared by the end-to-end scripts: a temporary folder, background processes that are always
# ended, Xvfb with a window manager, a program folder on a test disc, and the program's windows
# under the mouse.
# Source it after `set -euo pipefail`, then call begin_work.
# shellcheck shell=bash

# Every script is run as SCRIPT CORVANTA MKDISC [E2E_X11]: the programs it drives.
if [ $# -lt 2 ]; then
    echo "usage: $0 CORVANTA MKDISC [E2E_X11]" >&2
    exit 2
fi
corvanta=$(realpath "$1")
mkdisc=$(realpath "$2")
# shellcheck disable=SC2034 # read by the scripts that source this one
e2e_x11=${3:+$(realpath "$3")}

say() { echo "e2e: $*"; }
die() {
    echo "e2e: FAIL: $*" >&2
    exit 1
}
# CTest counts the status 77 as skipped.
skip() {
    echo "e2e: SKIP: $*"
    exit 77
}

require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || die "$tool is missing (scripts/install-deps installs it)"
    done
}

work=''
app_pid='' app_status=''
e2e_pids=()
e2e_logs=()
e2e_undo=()

# Adds a command for cleanup to run first, for what the test changed outside $work.
undo_at_exit() { e2e_undo+=("$1"); }

# Adds a log to print if the test fails.
keep_log() { e2e_logs+=("$1" "$2"); }

# Remembers a background process so that cleanup ends it; the newest is ended first.
track_process() { e2e_pids+=("$1"); }

forget_process() {
    local pid kept=()
    for pid in "${e2e_pids[@]}"; do
        [ "$pid" = "$1" ] || kept+=("$pid")
    done
    e2e_pids=("${kept[@]}")
}

# Asks a process to end, forcing it if it lingers, and reaps it.
stop_process() {
    local pid=$1 i
    [ -n "$pid" ] || return 0
    forget_process "$pid"
    kill "$pid" 2>/dev/null || true
    for ((i = 0; i < 50; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

cleanup() {
    local rc=$? i
    for i in "${e2e_undo[@]}"; do
        eval "$i" || true
    done
    for ((i = ${#e2e_pids[@]} - 1; i >= 0; i--)); do
        stop_process "${e2e_pids[i]}"
    done
    if [ "$rc" -ne 0 ]; then
        for ((i = 0; i < ${#e2e_logs[@]}; i += 2)); do
            [ -s "${e2e_logs[i + 1]}" ] || continue
            echo "----- ${e2e_logs[i]} -----"
            cat "${e2e_logs[i + 1]}"
        done
    fi
    [ -z "$work" ] || rm -rf "$work"
    exit "$rc"
}

# Makes $work and keeps everything the program and its helpers touch inside it.
# A bus address that leads nowhere keeps libdbus from autolaunching a daemon nobody would stop.
begin_work() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/corvanta-e2e.XXXXXX")
    played="$work/played.raw"
    trap cleanup EXIT
    trap 'exit 130' INT TERM
    export HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/run/no-bus"
    mkdir -p "$HOME/.config"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    unset PULSE_SERVER PULSE_SINK PULSE_SOURCE PULSE_COOKIE PULSE_RUNTIME_PATH
    unset SDL_AUDIODRIVER SDL_DISKAUDIOFILE SDL_DISKAUDIODELAY
}

# Polls a command until it succeeds; the limit only bounds a hang.
wait_for() {
    local limit=$1 what=$2
    shift 2
    local deadline=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || die "gave up after ${limit} s waiting for $what"
        sleep 0.1
    done
}

# What SDL's disk driver writes to $played: a little leading silence, then the disc's bytes.
# shellcheck disable=SC2034 # the scripts that source this use it
readonly rate_bytes=$((44100 * 4))
played=''

played_bytes() { stat -c %s "$played" 2>/dev/null || echo 0; }
played_at_least() { [ "$(played_bytes)" -ge "$1" ]; }

# 1-based offset of the first byte of $1 that is not zero; empty while there is none.
# cmp names the offset "char" or "byte" depending on its version.
first_nonzero_byte() {
    { LC_ALL=C cmp -- "$1" /dev/zero 2>/dev/null || true; } |
        sed -n 's/^.* differ: [a-z]* \([0-9]*\),.*$/\1/p'
}

disc_audio_started() { [ -n "$(first_nonzero_byte "$played")" ]; }

# Offset of the disc's first byte in $played. Silence while priming comes in whole frames and
# a test track's right channel is never zero, so the frame holding the first non-zero byte is
# the disc's first.
disc_audio_start() { echo $((($(first_nonzero_byte "$played") - 1) / 4 * 4)); }

# matches_disc FILE OFFSET LENGTH [DISC_OFFSET]: FILE from OFFSET holds LENGTH bytes of the disc
# image, from its start or from DISC_OFFSET.
matches_disc() { LC_ALL=C cmp -s -i "$2:${4:-0}" -n "$3" "$1" "$work/disc.bin"; }

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

# Starts Xvfb with one 1024x768 screen on a free display, exports DISPLAY and starts openbox on
# it: every desktop has a window manager, and activation, focus and window titles come from it.
start_xvfb() {
    local display_fd
    require_tools Xvfb xdpyinfo openbox xprop xwininfo xdotool
    say "starting Xvfb"
    exec {display_fd}>"$work/display"
    # Without -noreset the server resets whenever its last client leaves, and a client that
    # arrives meanwhile is turned away.
    Xvfb -displayfd "$display_fd" -nolisten tcp -noreset -screen 0 1024x768x24 \
        >"$work/xvfb.log" 2>&1 &
    track_process $!
    exec {display_fd}>&-
    keep_log "Xvfb log" "$work/xvfb.log"
    wait_for 20 "display from Xvfb" grep -q '^[0-9]' "$work/display"
    DISPLAY=":$(head -n 1 "$work/display")"
    export DISPLAY
    wait_for 20 "Xvfb to take clients" xdpyinfo
    say "Xvfb is on display $DISPLAY; starting openbox"
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    track_process $!
    keep_log "openbox log" "$work/openbox.log"
    wait_for 20 "openbox to manage the screen" wm_running
}

# make_program_folder CORVANTA MKDISC LENGTH_MS...
# Writes $work/disc.cue and disc.bin with one track per length, and a program folder whose
# drive D: is that image; $program is the copy of the program to run there.
make_program_folder() {
    local corvanta=$1 mkdisc=$2
    shift 2
    say "making a $#-track test disc"
    "$mkdisc" "$work/disc.cue" "$@"
    [ -s "$work/disc.bin" ] || die "mkdisc wrote no $work/disc.bin"
    mkdir -p "$work/program/drives"
    cp "$corvanta" "$work/program/corvanta"
    ln -s "$work/disc.cue" "$work/program/drives/d:"
    program="$work/program/corvanta"
}

# start_program NAME=VALUE...: runs $program with that environment added.
start_program() {
    say "starting the program"
    env "$@" "$program" >"$work/corvanta.log" 2>&1 &
    app_pid=$!
    track_process "$app_pid"
    keep_log "corvanta output" "$work/corvanta.log"
}

# Sets $win to the program's visible window named by the regex $1, and $win_x, $win_y,
# $win_w, $win_h to the place of its client area on the screen, inside the window manager's
# frame. (xdotool's own geometry counts the frame twice.)
find_window() {
    local deadline=$((SECONDS + 30)) info
    until win=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) &&
        [ -n "$win" ]; do
        kill -0 "$app_pid" 2>/dev/null || die "the program ended before showing its window"
        ((SECONDS < deadline)) || die "no window named $1 within 30 s"
        sleep 0.1
    done
    info=$(xwininfo -id "$win")
    win_x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
    win_y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
    win_w=$(sed -n 's/^ *Width: *//p' <<<"$info")
    win_h=$(sed -n 's/^ *Height: *//p' <<<"$info")
    say "window $win at ($win_x, $win_y), ${win_w}x${win_h}"
}

# Clicks at client coordinates of the window find_window found.
click_at() {
    local x=$((win_x + $1)) y=$((win_y + $2)) here
    here=$(xdotool getmouselocation --shell | sed -n 's/^[XY]=//p' | paste -sd,)
    # --sync waits for the pointer to move, which it never does when it is there already.
    [ "$here" = "$x,$y" ] || xdotool mousemove --sync "$x" "$y"
    xdotool click 1
}

# Where the window's buttons are, in client coordinates.
# shellcheck disable=SC2034 # the scripts that source this use them
readonly open_x=28 open_y=20 settings_x=88 settings_y=20 play_x=365 play_y=19 stop_x=392 \
    stop_y=19 refresh_x=552 refresh_y=20

dialog_shown() { xdotool search --onlyvisible --name '^開く$'; }
dialog_gone() { ! dialog_shown; }

# Opens the lyrics file $1 through "開く", typing its path into the file dialog; without $1,
# cancels the dialog.
open_lyrics() {
    say "opening ${1:-nothing} through 開く"
    click_at "$open_x" "$open_y"
    wait_for 30 "the file dialog" dialog_shown
    if [ $# -gt 0 ]; then
        xdotool type --delay 20 "$1"
        xdotool key Return
    else
        xdotool key Escape
    fi
    wait_for 15 "the file dialog to close" dialog_gone
}

# Sets $settings_win to the settings window (312x213, the only one of that size) if it is shown.
settings_window_shown() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null); do
        if [ "$(xwininfo -id "$w" | sed -n 's/^ *Width: *//p;s/^ *Height: *//p' |
            paste -sd x)" = 312x213 ]; then
            settings_win=$w
            return 0
        fi
    done
    return 1
}
settings_window_gone() { ! settings_window_shown; }

# Opens 設定 and confirms it with OK; with a colour $1 (RRGGBB), chooses it as the background
# first. Also checks that the window manager shows the settings window without a title.
confirm_settings() {
    say "opening 設定${1:+, choosing the background #$1,} and confirming with OK"
    click_at "$settings_x" "$settings_y"
    wait_for 15 "the settings window" settings_window_shown
    local title
    title=$(xprop -id "$settings_win" _NET_WM_NAME)
    [ "$title" = '_NET_WM_NAME(UTF8_STRING) = ' ] ||
        die "the settings window's title bar is not empty: $title"
    if [ $# -gt 0 ]; then
        xdotool mousemove --window "$settings_win" 216 92 click 1
        wait_for 15 "the colour dialog" xdotool search --onlyvisible --name '^色を選択$'
        # Alt+H is the dialog's HTML field; Return is its OK.
        xdotool key alt+h ctrl+a
        xdotool type "#$1"
        xdotool key Return
        wait_for 15 "the colour dialog to close" \
            sh -c '! xdotool search --onlyvisible --name "^色を選択$"'
    fi
    xdotool mousemove --window "$settings_win" 272 196 click 1
    wait_for 15 "the settings window to close after OK" settings_window_gone
}

# Waits up to $1 s for the program to end and sets $app_status to its exit status.
wait_for_exit() {
    local limit=$1 i
    for ((i = 0; i < limit * 10; i++)); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$app_pid" 2>/dev/null && die "the program is still running after ${limit} s"
    forget_process "$app_pid"
    app_status=0
    wait "$app_pid" || app_status=$?
    app_pid=''
    say "program ended with status $app_status"
}
