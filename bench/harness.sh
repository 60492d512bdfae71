# The benchmarks' scratch harness: a scratch folder, background processes that are always ended,
# Xvfb with a window manager, a program folder on a test disc, a sound server whose null sink is
# recorded, and the program's window under the mouse. Source it after `set -euo pipefail` with
# $corvanta and $mkdisc set, then call begin_work.
# shellcheck shell=bash

say() { echo "bench: $*"; }
die() { echo "bench: FAIL: $*" >&2 && exit 1; }
require_tools() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || die "$tool is missing (scripts/install-deps bench)"
    done
}

work='' app_pid='' bench_pids=()
track_process() { bench_pids+=("$1"); }
stop_process() {
    kill "$1" 2>/dev/null || true
    timeout 5 tail --pid="$1" -f /dev/null || kill -9 "$1" 2>/dev/null || true
}
cleanup() {
    local rc=$? i
    for ((i = ${#bench_pids[@]} - 1; i >= 0; i--)); do stop_process "${bench_pids[i]}"; done
    [ "$rc" -eq 0 ] || tail -n 20 "$work"/*.log 2>/dev/null || true
    rm -rf "$work"
    exit "$rc"
}

# $work holds everything the program and its helpers touch. A bus address that leads nowhere
# keeps libdbus from starting a daemon nobody would stop.
begin_work() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/corvanta-bench.XXXXXX")
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
        sleep 0.05
    done
}

# Xvfb on a free display, and openbox on it, as on a desktop.
start_xvfb() {
    local fd
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

# A private PulseAudio server with a null sink, its monitor recorded into $work/heard.raw from
# now on; heard prints how many bytes of 44.1 kHz 16-bit stereo it holds.
readonly heard_rate=$((44100 * 4))
start_sound_server() {
    pulseaudio -n --daemonize=no --disable-shm --exit-idle-time=-1 \
        --load=module-native-protocol-unix \
        --load="module-null-sink sink_name=bench format=s16le rate=44100 channels=2" \
        >"$work/pulse.log" 2>&1 &
    track_process $!
    wait_for 10 "the null sink" sh -c 'pactl list short sinks | grep -q bench'
    parec --device=bench.monitor --format=s16le --rate=44100 --channels=2 --raw \
        --latency-msec=10 >"$work/heard.raw" 2>"$work/parec.log" &
    track_process $!
}
heard() { stat -c %s "$work/heard.raw"; }

# make_program_folder LENGTH_MS...: $work/disc.cue and .bin with one track per length, and a
# program folder whose drive D: is that image; $program is the copy of the program to run there.
make_program_folder() {
    "$mkdisc" "$work/disc.cue" "$@" >/dev/null || die "mkdisc failed"
    mkdir -p "$work/program/drives"
    cp "$corvanta" "$work/program/corvanta"
    ln -s "$work/disc.cue" "$work/program/drives/d:"
    program="$work/program/corvanta"
}

# start_program NAME=VALUE...: runs $program with that environment added, and finds its window.
start_program() {
    env "$@" "$program" >"$work/corvanta.log" 2>&1 &
    app_pid=$!
    track_process "$app_pid"
    wait_for 30 "the main window" xdotool search --onlyvisible --name '^Corvanta$'
    win=$(xdotool search --onlyvisible --name '^Corvanta$' | head -n 1)
}
click_at() { xdotool mousemove --window "$win" "$1" "$2" click 1; }
# Where the window's buttons are, in client coordinates.
readonly open_x=28 open_y=20 play_x=365 play_y=19

# Opens the lyrics file $1 through 開く, typing its path.
open_lyrics() {
    click_at "$open_x" "$open_y"
    wait_for 30 "the file dialog" xdotool search --onlyvisible --name '^開く$'
    xdotool type --delay 10 "$1"
    xdotool key Return
    wait_for 15 "the file dialog to close" sh -c '! xdotool search --onlyvisible --name "^開く$"'
}
